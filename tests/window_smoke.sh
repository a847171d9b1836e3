#!/usr/bin/env bash
# Opens tpfw in a real X11 window, under a window manager, on the demo tree
# with the stand-in updater beside it; takes a screenshot, closes the window
# as a user would and expects the program to end with status 0.
# usage: window_smoke.sh TPFW PANELPROG FWBINFILES SCREENSHOT
set -euo pipefail
station=$(mktemp -d)
trap 'rm -rf "$station"' EXIT
cp "$1" "$station/tpfw"
mkdir "$station/PanelProg"
cp "$2" "$station/PanelProg/PanelProg"
cp -r "$3" "$station/FwBinFiles"

export STATION=$station SCREENSHOT=$4 QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 640x480x24" bash -euo pipefail -c '
  openbox & wm=$!
  until wmctrl -m >/dev/null 2>&1; do sleep 0.2; done
  "$STATION/tpfw" >"$STATION/tpfw.log" 2>&1 & app=$!
  timeout 30 xdotool search --sync --name "^MainWindow$" >/dev/null
  sleep 1
  import -window root "$SCREENSHOT"
  wmctrl -c MainWindow
  status=0
  wait $app || status=$?
  kill $wm
  [ $status -eq 0 ] || grep -v "^\"" "$STATION/tpfw.log" >&2
  echo "tpfw closed by the window manager, exit status $status"
  exit $status
'
