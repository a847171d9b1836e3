#!/usr/bin/env bash
# Installs the Windows station folder, puts the stand-in updater and the demo
# tree in it, opens its tpfw.exe under Wine in a real X11 window with the
# windows platform plugin, under a window manager; takes a screenshot, closes
# the window as a user would and expects the program to end with status 0.
# usage: wine_window.sh BUILD_DIR PANELPROG FWBINFILES SCREENSHOT WINE_RUN
set -euo pipefail
station=$(mktemp -d)
trap 'rm -rf "$station"' EXIT
cmake --install "$1" --prefix "$station" >/dev/null
mkdir "$station/PanelProg"
cp "$2" "$station/PanelProg/PanelProg.exe"
cp -r "$3" "$station/FwBinFiles"

export STATION=$station SCREENSHOT=$4 WINE_RUN=$5 WINEQT_QPA_PLATFORM=windows
xvfb-run -a -s "-screen 0 640x480x24" bash -euo pipefail -c '
  openbox & wm=$!
  until wmctrl -m >/dev/null 2>&1; do sleep 0.2; done
  "$WINE_RUN" "$STATION/tpfw.exe" >"$STATION/tpfw.log" 2>&1 & app=$!
  timeout 60 xdotool search --sync --name "^MainWindow$" >/dev/null
  sleep 2
  import -window root "$SCREENSHOT"
  wmctrl -c MainWindow
  status=0
  wait $app || status=$?
  kill $wm
  [ $status -eq 0 ] || grep -v "^\"" "$STATION/tpfw.log" >&2
  echo "tpfw.exe under Wine closed by the window manager, exit status $status"
  exit $status
'
