#!/usr/bin/env bash
# Installs the Windows station folder, puts the stand-in updater and the demo
# tree in it, and opens its tpfw.exe under Wine in a real X11 window with the
# windows platform plugin, under a window manager, with nothing on the DLL
# search path but the folder itself. Clicks 10.1inch, High and UpdateFW and
# expects the stand-in to get the three images and "-ba" and exit 0; takes a
# screenshot, closes the notice and then the window as a user would, and
# expects the program to end with status 0. Then --version.
# usage: wine_window.sh BUILD_DIR PANELPROG FWBINFILES SCREENSHOT WINE_RUN
set -euo pipefail
station=$(mktemp -d)
trap 'rm -rf "$station"' EXIT
cmake --install "$1" --prefix "$station" >/dev/null
mkdir -p "$station/PanelProg"
cp "$2" "$station/PanelProg/PanelProg.exe"
cp -r "$3/." "$station/FwBinFiles/"

# Windows opened next go to the display of the Wine session they find: let a
# headless one (the suites') end first.
WINEPREFIX=${WINEPREFIX:-$(cd "$(dirname "$5")/.." && pwd)/build-win/wineprefix} /usr/lib/wine/wineserver64 -w
export STATION=$station SCREENSHOT=$4 WINE_RUN=$5 WINEQT_QPA_PLATFORM=windows WINEPATH=
export TPFW_UPDATER_LOG="Z:$station/records" HELPERS=$(dirname "$0")/x11_helpers.sh
"$(dirname "$0")/x11_session.sh" 640x480x24 bash -euo pipefail -c '
  . "$HELPERS"
  "$WINE_RUN" "$STATION/tpfw.exe" >"$STATION/tpfw.log" 2>&1 & app=$!
  window=$(wait_for_window "^MainWindow$")
  sleep 2
  # 10.1inch, High, then UpdateFW.
  click_spots "$window" 1 "24 66" "218 66" "199 261"
  wait_for_file "$STATION/records"
  import -window root "$SCREENSHOT"
  # The run ends a moment after the updater wrote what it got.
  for _ in $(seq 100); do
    tr -d "\r" <"$STATION/tpfw.log" | grep -qx "FW updater ended: exit code 0" && break
    sleep 0.1
  done
  tr -d "\r" <"$STATION/tpfw.log" | grep -qx "FW updater ended: exit code 0"
  [ "$(tr "\0" "\n" <"$STATION/records" | grep -c "FwBinFiles/10.1inch/High/TP101_H_")" -eq 3 ]
  tr "\0" "\n" <"$STATION/records" | tail -1 | grep -qx -- "-ba"
  echo "the station updater got the three images of 10.1inch/High and -ba, and exited 0"
  xdotool key Return
  sleep 1
  wmctrl -c MainWindow
  status=0
  wait $app || status=$?
  [ $status -eq 0 ] || grep -v "^\"" "$STATION/tpfw.log" >&2
  echo "tpfw.exe under Wine closed by the window manager, exit status $status"
  exit $status
'

# --version answers on standard output without a window. (Last: a Wine
# session started headless would take the window above.)
version=$(WINEPATH= "$5" "$station/tpfw.exe" --version | tr -d "\r")
[[ "$version" =~ ^tpfw\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "--version said: $version" >&2; exit 1; }
echo "tpfw.exe --version: $version"
