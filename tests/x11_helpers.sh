# Sourced by the real-window tests, inside the session x11_session.sh opens.

# Clicks the window at each "X Y" spot in turn, waiting DELAY seconds after
# each, as a user would.
# usage: click_spots WINDOW DELAY SPOT...
click_spots() {
  local window=$1 delay=$2 spot
  shift 2
  for spot in "$@"; do
    xdotool mousemove --window "$window" $spot click 1
    sleep "$delay"
  done
}

# Prints the id of a window whose name matches, waiting up to 60 s for one.
# A window that goes while xdotool walks the tree (Wine's own come and go as
# a program starts) fails its search with BadWindow: it is searched again.
# usage: wait_for_window NAME
wait_for_window() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -1) && [ -n "$id" ] && echo "$id" && return 0
    sleep 0.2
  done
  return 1
}

# Waits up to 10 s for the file to appear.
wait_for_file() {
  for _ in $(seq 100); do
    [ -e "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# Starts the program, waits up to 60 s for its window, closes the window as a
# user would, and returns the program's exit status.
# usage: open_and_close COMMAND...
open_and_close() {
  local app status=0
  "$@" >/dev/null 2>&1 & app=$!
  timeout 60 xdotool search --sync --name "^MainWindow$" >/dev/null
  sleep 2
  wmctrl -c MainWindow
  wait $app || status=$?
  return $status
}
