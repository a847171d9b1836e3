#!/usr/bin/env bash
# Runs a command on an X display of its own, under openbox, and exits with
# the command's status.
#
# The server picks a free display number itself and names it once it takes
# connections (-displayfd): no two sessions race for a number read off the
# lock files in /tmp. It does not reset when its last client leaves
# (-noreset): a wmctrl that asked for the window manager before openbox had
# connected, and left, reset it, and openbox was turned away meanwhile. The
# session ends with its server gone.
# usage: x11_session.sh WIDTHxHEIGHTxDEPTH COMMAND...
set -euo pipefail
screen=$1
shift
session=$(mktemp -d)
server=
display=
wm=
end() {
  [ -z "$wm" ] || kill "$wm" 2>/dev/null || true
  if [ -n "$server" ]; then
    # A server gone before its session is why its clients failed.
    kill "$server" 2>/dev/null || [ -z "$display" ] || {
      echo "x11_session: Xvfb on $display ended before its session did" >&2
      cat "$session/server.log" >&2
    }
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$session"
}
trap end EXIT

# Tells what went wrong, with the log that says why, and ends the session.
fail() {
  echo "x11_session: $1" >&2
  cat "$2" >&2
  exit 1
}

# The server takes every cookie of its file, whatever display it is written
# for; clients look theirs up by the number the server chose.
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
: >"$session/auth"
xauth -q -f "$session/auth" add :0 . "$cookie"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset -auth "$session/auth" \
  3>"$session/display" 2>"$session/server.log" &
server=$!
for _ in $(seq 300); do
  [ "$(wc -l <"$session/display")" -eq 0 ] || break
  kill -0 "$server" 2>/dev/null || fail "Xvfb ended at start" "$session/server.log"
  sleep 0.2
done
[ "$(wc -l <"$session/display")" -eq 1 ] || fail "Xvfb named no display in 60 s" "$session/server.log"
display=:$(cat "$session/display")
export DISPLAY=$display XAUTHORITY=$session/auth
xauth -q add "$DISPLAY" . "$cookie"

openbox >"$session/wm.log" 2>&1 &
wm=$!
for _ in $(seq 300); do
  wmctrl -m >/dev/null 2>&1 && break
  kill -0 "$wm" 2>/dev/null || fail "openbox ended at start on $DISPLAY" "$session/wm.log"
  sleep 0.2
done
wmctrl -m >/dev/null 2>&1 || fail "openbox managed no window on $DISPLAY in 60 s" "$session/wm.log"

status=0
"$@" || status=$?
exit $status
