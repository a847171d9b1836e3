#!/usr/bin/env bash
# Builds the Debian package and installs it with dpkg into a throwaway root,
# never into this machine's own: its dependencies must be ones this system
# can install (asked of apt, which only simulates), its desktop entries must
# validate, its tpfw must open its window under Xvfb and close with status 0,
# and purging it must leave every place it installed into as it found it.
# A tpfw installed here, its settings and dpkg's own records stay as they
# are. dpkg sets the files' owners: skipped (77) when not root.
# usage: deb_package.sh BUILD_DIR
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "not root: dpkg cannot set the package's owners"; exit 77; }
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tpfw_*_*.deb)
echo "built $(basename "$deb")"
apt-get install -s "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
# What this machine has of tpfw, to find as it was at the end.
installed() { dpkg-query -W -f='${Status} ${Version}\n' tpfw 2>&1 || true; }
installed >"$work/installed"

# A root as dpkg finds one on a station: /opt there, nothing installed.
root=$work/root
mkdir -p "$root/opt" "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg=(dpkg --root="$root" --force-depends)
places() {
  (cd "$root" && find . -path ./var/lib/dpkg -prune -o -print | sort)
}
places >"$work/before"
"${dpkg[@]}" -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; exit 1; }
desktop-file-validate "$root/usr/share/applications/tpfw.desktop" "$root/opt/tpfw/tpfw.desktop"
grep -qx 'Exec="/opt/tpfw/tpfw"' "$root/usr/share/applications/tpfw.desktop"
opt=$root/opt/tpfw
[ -x "$opt/tpfw-run" ] && [ -x "$opt/tpfw-release" ] && [ -x "$opt/tpfw-history" ] && [ -f "$opt/README-station.txt" ] && [ -d "$opt/FwBinFiles" ] && [ -d "$opt/PanelProg" ]
# The plant's files, the settings kept as the engineer edits them.
for file in etc/tpfw/station.ini usr/lib/tmpfiles.d/tpfw.conf usr/share/tpfw/postgresql/tpfw.sql usr/share/tpfw/rsyslog/tpfw-station.conf \
  usr/share/tpfw/rsyslog/tpfw-central.conf usr/share/tpfw/rsyslog/tpfw-central-pgsql.conf; do
  [ -f "$root/$file" ] || { echo "not installed: /$file" >&2; exit 1; }
done
grep -qx /etc/tpfw/station.ini "$root/var/lib/dpkg/info/tpfw.conffiles"
echo "installed in a throwaway root: $("${dpkg[@]}" -l tpfw | tail -1 | tr -s ' ' | cut -d' ' -f1-3)"

export HELPERS=$(dirname "$0")/x11_helpers.sh OPT=$opt XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=xcb QT_XCB_GL_INTEGRATION=none \
  TPFW_STATION_SETTINGS=$root/etc/tpfw/station.ini
"$(dirname "$0")/x11_session.sh" 640x480x24 bash -euo pipefail -c '
  . "$HELPERS"
  status=0
  open_and_close "$OPT/tpfw" || status=$?
  echo "the installed tpfw opened its window and closed with status $status"
  exit $status
'

! "${dpkg[@]}" -L tpfw | grep -qx /opt || { echo "the package owns /opt" >&2; exit 1; }
"${dpkg[@]}" --purge tpfw >"$work/purge.log" 2>&1
! grep -i "warning" "$work/purge.log" || exit 1
places >"$work/after"
diff "$work/before" "$work/after"
echo "purged, without a warning: nothing of it is left"
installed | diff "$work/installed" - || { echo "this machine's own tpfw changed" >&2; exit 1; }
