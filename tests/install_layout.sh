#!/usr/bin/env bash
# Installs the build into a scratch station folder and checks its layout:
# tpfw at the root, an empty firmware tree with its README, a launcher that
# starts that tpfw, and no updater, which each station supplies.
# usage: install_layout.sh BUILD_DIR
set -euo pipefail
station=$(mktemp -d)
trap 'rm -rf "$station"' EXIT
cmake --install "$1" --prefix "$station" >/dev/null
cd "$station"
expected=$'./FwBinFiles/README.txt\n./tpfw\n./tpfw.desktop'
actual=$(find . -type f | LC_ALL=C sort)
if [ "$actual" != "$expected" ] || [ ! -x tpfw ]; then
  echo "station folder holds:" >&2
  echo "$actual" >&2
  exit 1
fi
grep -qx "Exec=\"$station/tpfw\"" tpfw.desktop
echo "station folder laid out as expected"
