#!/usr/bin/env bash
# Builds the Debian package and installs it on this machine as a fleet tool
# would: its desktop entries must validate, the installed /opt/tpfw/tpfw must
# open its window under Xvfb and close with status 0, and purging the package
# must leave every place it installed into as it found it. Needs root: skipped
# (77) otherwise.
# usage: deb_package.sh BUILD_DIR
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "not root: the package is not installed here"; exit 77; }
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tpfw_*_*.deb)
echo "built $(basename "$deb")"

# The icon theme's cache is the system's to rebuild, not the package's.
places() {
  find /opt /usr/share/applications /usr/share/icons/hicolor -xdev ! -name icon-theme.cache 2>/dev/null | sort
}
dpkg-query -W tpfw >/dev/null 2>&1 && apt-get purge -y tpfw >/dev/null
places >"$work/before"
DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
desktop-file-validate /usr/share/applications/tpfw.desktop /opt/tpfw/tpfw.desktop
grep -qx 'Exec="/opt/tpfw/tpfw"' /usr/share/applications/tpfw.desktop
[ -x /opt/tpfw/tpfw-run ] && [ -f /opt/tpfw/README-station.txt ] && [ -d /opt/tpfw/FwBinFiles ] && [ -d /opt/tpfw/PanelProg ]
echo "installed: $(dpkg-query -W tpfw)"

export HELPERS=$(dirname "$0")/x11_helpers.sh XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=xcb QT_XCB_GL_INTEGRATION=none
xvfb-run -a -s "-screen 0 640x480x24" bash -euo pipefail -c '
  . "$HELPERS"
  start_window_manager
  status=0
  open_and_close /opt/tpfw/tpfw || status=$?
  kill $wm
  echo "the installed tpfw opened its window and closed with status $status"
  exit $status
'

! dpkg -L tpfw | grep -qx /opt || { echo "the package owns /opt" >&2; exit 1; }
apt-get purge -y tpfw >"$work/purge.log" 2>&1
! grep -i "warning" "$work/purge.log" || exit 1
places >"$work/after"
diff "$work/before" "$work/after"
echo "purged, without a warning: nothing of it is left"
