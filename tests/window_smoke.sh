#!/usr/bin/env bash
# Opens tpfw in a real X11 window, under a window manager, on the demo tree
# with the stand-in updater beside it; takes a screenshot, closes the window
# as a user would and expects the program to end with status 0.
# Then starts it again from another folder, its output read through a pipe
# as a terminal would, presses UpdateFW on 10.1inch / High and kills tpfw and
# the reader mid-run: the updater must run to its end regardless, in the
# application folder, writing all of its output, be gone once it has ended,
# and its failure be recorded by its supervisor. Last, a line's station:
# signed in, a serial scanned, and the run recorded for that panel.
# usage: window_smoke.sh TPFW TPFW_RUN PANELPROG FWBINFILES SCREENSHOT
set -euo pipefail
station=$(mktemp -d)
trap 'rm -rf "$station"' EXIT
cp "$1" "$station/tpfw"
cp "$2" "$station/tpfw-run"
mkdir "$station/PanelProg"
cp "$3" "$station/PanelProg/PanelProg"
cp -r "$4" "$station/FwBinFiles"

# With no display at all, tpfw says so and stops.
set +e
message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$station/tpfw" 2>&1)
status=$?
set -e
if [ $status -ne 1 ] || [ "$message" != "tpfw: no display to open the window on; start it in a desktop session, or under xvfb-run." ]; then
  echo "without a display: status $status, said: $message" >&2
  exit 1
fi
# --version and --help need none, and say so on standard output; an unknown
# option is ignored (here it meets the missing display).
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$station/tpfw" --version)
[[ "$version" =~ ^tpfw\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "--version said: $version" >&2; exit 1; }
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$station/tpfw" --help)
[ "$(head -1 <<<"$help")" = "usage: tpfw [--version] [--help]" ] && grep -q -- "--version" <<<"$help" \
  || { echo "--help said: $help" >&2; exit 1; }
set +e
message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$station/tpfw" --frobnicate 2>&1)
status=$?
set -e
[ $status -eq 1 ] && [[ "$message" == "tpfw: no display"* ]] || { echo "--frobnicate: $status, $message" >&2; exit 1; }
echo "--version: $version; --help and an unknown option as expected"
# A Wayland-only desktop is a display: the toolkit is left to reach it.
set +e
message=$(ulimit -c 0; env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=tpfw-test-none timeout 30 "$station/tpfw" 2>&1)
set -e
[[ "$message" != "tpfw: no display"* ]] || { echo "a Wayland desktop was refused: $message" >&2; exit 1; }
echo "a Wayland-only desktop is not refused"

# No OpenGL: the window needs none, and Mesa's drivers, loaded for it and
# unloaded at exit, leave leaks no suppression can name.
export STATION=$station SCREENSHOT=$5 TPFW_RUN_LOCK=$station/run.lock QT_QPA_PLATFORM=xcb QT_XCB_GL_INTEGRATION=none XDG_DATA_HOME=$station/data
export HELPERS=$(dirname "$0")/x11_helpers.sh
# The orphaned updater is adopted by this script's shell, not by a PID 1 that
# may never reap it (prctl PR_SET_CHILD_SUBREAPER, x86_64).
"$(dirname "$0")/x11_session.sh" 640x480x24 perl -e 'syscall(157, 36, 1, 0, 0, 0) == 0 or die "subreaper: $!"; exec @ARGV' \
  bash -euo pipefail -c '
  . "$HELPERS"
  "$STATION/tpfw" >"$STATION/tpfw.log" 2>&1 & app=$!
  timeout 30 xdotool search --sync --name "^MainWindow$" >/dev/null
  sleep 1
  import -window root "$SCREENSHOT"
  wmctrl -c MainWindow
  status=0
  wait $app || status=$?
  [ $status -eq 0 ] || { grep -v "^\"" "$STATION/tpfw.log" >&2; exit 1; }
  echo "tpfw closed by the window manager, exit status $status"

  # The shipped program speaks the desktop'"'"'s language: its History dialog
  # is titled in Japanese.
  env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG=ja_JP.UTF-8 "$STATION/tpfw" >"$STATION/tpfw-ja.log" 2>&1 & app=$!
  window=$(timeout 30 xdotool search --sync --name "^MainWindow$" | head -1)
  # Keys reach the window once it has taken the focus: pressed until seen.
  # (xdotool'"'"'s own name search matches no multibyte title.)
  for _ in $(seq 20); do
    xdotool windowactivate --sync "$window" key ctrl+h
    sleep 0.5
    xdotool search --name . getwindowname %@ | grep -qx "履歴" && break
  done
  xdotool search --name . getwindowname %@ | grep -qx "履歴"
  kill $app
  wait $app || true
  echo "in Japanese under LANG=ja_JP.UTF-8"

  # A run left interrupted is told as the window opens, centred on it.
  runs=$STATION/data2/tpfw/runs
  mkdir -p "$runs" && touch "$runs/1.log"
  printf "{\"started\":\"2026-12-08T01:00:00.000+00:00\",\"log\":\"%s\",\"images\":[]}" "$runs/1.log" >"$runs/1.pending.json"
  XDG_DATA_HOME=$STATION/data2 "$STATION/tpfw" >"$STATION/tpfw2.log" 2>&1 & app=$!
  window=$(timeout 30 xdotool search --sync --name "^MainWindow$" | head -1)
  notice=$(timeout 10 xdotool search --sync --onlyvisible --name "^tpfw$" | head -1)
  sleep 0.5
  centre() { eval "$(xdotool getwindowgeometry --shell "$1")"; echo $((X + WIDTH / 2)) $((Y + HEIGHT / 2)); }
  read -r wx wy < <(centre "$window")
  read -r nx ny < <(centre "$notice")
  (( (nx - wx) ** 2 + (ny - wy) ** 2 < 40 ** 2 )) || { echo "notice at $nx,$ny, window at $wx,$wy" >&2; exit 1; }
  kill $app
  wait $app || true
  echo "the interrupted run told centred on the window"

  cd /
  mkfifo "$STATION/terminal"
  cat "$STATION/terminal" >"$STATION/tpfw.log" & terminal=$!
  TPFW_STANDIN_SECONDS=3 TPFW_STANDIN_EXIT=3 TPFW_UPDATER_LOG="$STATION/records" "$STATION/tpfw" >"$STATION/terminal" 2>&1 & app=$!
  window=$(timeout 30 xdotool search --sync --name "^MainWindow$" | head -1)
  sleep 1
  # 10.1inch, High, then UpdateFW.
  click_spots "$window" 0.5 "28 74" "222 74" "199 273"
  timeout 10 xdotool search --sync --name "^Message Box$" >/dev/null
  pid=$(sed -n "s/^FW updater started, pid //p" "$STATION/tpfw.log")
  kill -KILL $app $terminal
  wait $app $terminal || true
  kill -0 "$pid"
  echo "tpfw killed while updater $pid runs"
  wait_for_file "$STATION/records"
  grep -qx "working folder: $STATION" "$STATION"/data/tpfw/runs/*.log
  grep -q "PanelProg stand-in: would flash 3 image(s)" "$STATION"/data/tpfw/runs/*.log
  for _ in $(seq 20); do [ -e /proc/$pid ] || break; sleep 0.1; done
  [ ! -e /proc/$pid ]
  echo "the updater ran to its end, wrote all its output and is gone"
  wait_for_file "$STATION/data/tpfw/history.jsonl"
  [ "$(wc -l <"$STATION/data/tpfw/history.jsonl")" -eq 1 ]
  grep -q "\"exitCode\":3,.*\"outcome\":\"failed\"" "$STATION/data/tpfw/history.jsonl"
  echo "its failure is in the history"

  # Closed while its images are checked (one of 8 GiB): asked, and on Yes the
  # process is gone within a second, nothing started, the press recorded.
  export XDG_DATA_HOME=$STATION/data3
  rm -f "$STATION/records"
  truncate -s 8G "$STATION/FwBinFiles/10.1inch/High/zz_big.bin"
  "$STATION/tpfw" >"$STATION/tpfw3.log" 2>&1 & app=$!
  window=$(timeout 30 xdotool search --sync --name "^MainWindow$" | head -1)
  sleep 1
  click_spots "$window" 0.5 "28 74" "222 74" "199 273"
  wmctrl -c MainWindow
  timeout 10 xdotool search --sync --onlyvisible --name "^tpfw$" >/dev/null
  sleep 0.5
  start=$(date +%s%N)
  xdotool key alt+y
  wait $app
  took=$(( ($(date +%s%N) - start) / 1000000 ))
  grep -q "\"detail\":\"cancelled: the window was closed while the images were checked\"" "$STATION/data3/tpfw/history.jsonl"
  sleep 1
  [ ! -e "$STATION/records" ]
  echo "closed while the images were checked: gone in $took ms, nothing started, the press recorded"

  # A line'"'"'s station: the operator signs in from the Station menu, the
  # panel'"'"'s serial is scanned (typed, then Enter) and that starts the run.
  rm "$STATION/FwBinFiles/10.1inch/High/zz_big.bin"
  export XDG_DATA_HOME=$STATION/data4 TPFW_STATION_SETTINGS=$STATION/station.ini
  printf "[station]\nname=Line 3\n[unit]\nrequired=true\npattern=SN\\d{4}\n[operator]\nrequired=true\n[order]\nname=WO-7\n" \
    >"$STATION/station.ini"
  "$STATION/tpfw" >"$STATION/tpfw4.log" 2>&1 & app=$!
  window=$(timeout 30 xdotool search --sync --name "^MainWindow$" | head -1)
  sleep 1
  xdotool windowactivate --sync "$window" key alt+s
  sleep 0.5
  xdotool key i
  timeout 10 xdotool search --sync --name "^Sign in$" >/dev/null
  sleep 0.5
  xdotool type op7
  xdotool key Return
  sleep 0.5
  click_spots "$window" 0.5 "28 74" "222 74"
  xdotool type SN0001
  xdotool key Return
  timeout 10 xdotool search --sync --name "^Message Box$" >/dev/null
  sleep 0.5
  import -window root "${SCREENSHOT%.png}-station.png"
  xdotool key Return
  wait_for_file "$STATION/data4/tpfw/history.jsonl"
  grep -q "\"operator\":\"op7\",\"order\":\"WO-7\",\"outcome\":\"ok\"" "$STATION/data4/tpfw/history.jsonl"
  grep -q "\"station\":\"Line 3\".*\"unit\":\"SN0001\"" "$STATION/data4/tpfw/history.jsonl"
  kill $app
  wait $app || true
  echo "signed in, scanned, started: the record names station, unit, operator and order"
'
