#!/usr/bin/env bash
# Installs the build into a scratch station folder and checks its layout, and
# that it holds no updater (only a README saying where it goes), which each
# station supplies.
# - linux: tpfw and its run supervisor at the root, with the README saying
#   what goes where, an empty firmware tree and updater folder, and a
#   launcher that starts that tpfw;
# - windows: tpfw.exe with the Qt and compiler runtime DLLs it loads, the
#   latter stripped, its platform plugin and style, and the firmware tree.
# usage: install_layout.sh BUILD_DIR linux|windows
set -euo pipefail
station=$(mktemp -d)
trap 'rm -rf "$station"' EXIT
cmake --install "$1" --prefix "$station" >/dev/null
cd "$station"
if [ "$2" = windows ]; then
  expected=$'./Qt5Core.dll\n./Qt5Gui.dll\n./Qt5Widgets.dll\n./README-station.txt'
  expected+=$'\n./libgcc_s_seh-1.dll\n./libstdc++-6.dll\n./libwinpthread-1.dll'
  expected+=$'\n./platforms/qwindows.dll\n./styles/qwindowsvistastyle.dll\n./tpfw-history.exe\n./tpfw-release.exe\n./tpfw-run.exe\n./tpfw.exe'
  expected+=$'\n./translations/qtbase_ja.qm\n./translations/qtbase_zh_CN.qm\n./translations/qtbase_zh_TW.qm'
else
  expected=$'./README-station.txt\n./tpfw\n./tpfw-history\n./tpfw-release\n./tpfw-run\n./tpfw.desktop\n./tpfw.png'
fi
actual=$(find . -type f | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  echo "station folder holds:" >&2
  echo "$actual" >&2
  exit 1
fi
# The firmware tree and the updater's folder are there, and list nothing.
[ -d FwBinFiles ] && [ -d PanelProg ] && [ -z "$(ls -A FwBinFiles)$(ls -A PanelProg)" ]
if [ "$2" = windows ]; then
  for dll in lib*.dll; do
    if x86_64-w64-mingw32-objdump -h "$dll" | grep -q "\.debug_"; then
      echo "$dll is not stripped" >&2
      exit 1
    fi
  done
else
  [ -x tpfw ] && [ -x tpfw-run ] && [ -x tpfw-release ] && [ -x tpfw-history ]
  grep -qx "Exec=\"$station/tpfw\"" tpfw.desktop
  grep -qx "Terminal=false" tpfw.desktop
  grep -qx "Icon=$station/tpfw.png" tpfw.desktop
  desktop-file-validate tpfw.desktop
fi
echo "station folder laid out as expected"
