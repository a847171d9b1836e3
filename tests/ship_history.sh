#!/usr/bin/env bash
# Ships a station's history to a central server with the shipped rsyslog
# configurations, for real: two rsyslogd on the loopback address, each with
# its own configuration, work folder and port. 50 records are appended by
# tpfw's own history writer: 20, then 5 while the station's rsyslogd is
# stopped, then 10 while the central rsyslogd is stopped, then 15 more once it
# is back. Every record must reach the central file exactly as written, in
# order; one delivered again must be whole. Only its own processes are started
# and stopped, by pid.
# usage: ship_history.sh DEPLOY_RSYSLOG_DIR HISTORY_WRITER
set -euo pipefail
configs=$1
writer=$2
work=$(mktemp -d)
central_pid=
station_pid=
stop() {
  local pid=$1
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || true
  while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
}
trap 'stop "$station_pid"; stop "$central_pid"; rm -rf "$work"' EXIT

# A free port, as the kernel hands one out.
free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
port=$(free_port)
mkdir -p "$work/central" "$work/station" "$work/logs"
history=$work/history.jsonl
touch "$history"

# The shipped files, with this test's places, port and retry time put in.
sed -e "s|Port=\"2514\"|Port=\"$port\"|" -e "s|/var/log/tpfw|$work/logs|" \
  "$configs/tpfw-central.conf" >"$work/central/tpfw.conf"
sed -e "s|Port=\"2514\"|Port=\"$port\"|" -e "s|tpfw-central.example|127.0.0.1|" \
  -e "s|/home/line/.local/share/tpfw/history.jsonl|$history|" -e "s|resumeInterval=\"10\"|resumeInterval=\"1\"|" \
  "$configs/tpfw-station.conf" >"$work/station/tpfw.conf"
for side in central station; do
  printf 'global(workDirectory="%s")\ninclude(file="%s")\n' "$work/$side" "$work/$side/tpfw.conf" >"$work/$side/rsyslog.conf"
  rsyslogd -N1 -f "$work/$side/rsyslog.conf" >/dev/null
done

start() {
  rsyslogd -n -f "$work/$1/rsyslog.conf" -i "$work/$1/pid" >>"$work/$1/out" 2>&1 &
  echo $!
}
# What arrived, each record once, in order of its first arrival: RELP
# delivers at least once, so a record in flight when a side stops may come
# again, whole (the central database keeps one per run).
received() {
  cat "$work"/logs/*.jsonl 2>/dev/null | awk '!seen[$0]++'
}
arrived() {
  received | wc -l
}
wait_for_lines() {
  for _ in $(seq 600); do
    [ "$(arrived)" -ge "$1" ] && return 0
    sleep 0.1
  done
  echo "only $(arrived) of $1 records arrived" >&2
  cat "$work"/*/out >&2
  return 1
}

central_pid=$(start central)
station_pid=$(start station)
"$writer" "$history" 20
wait_for_lines 20
echo "20 records shipped"

# Written while the station's rsyslogd is down: read on its start from where
# it had got to.
stop "$station_pid"
"$writer" "$history" 5
station_pid=$(start station)
wait_for_lines 25
echo "5 records written while the station's rsyslogd was stopped, shipped once it was back"

stop "$central_pid"
central_pid=
"$writer" "$history" 10
central_pid=$(start central)
"$writer" "$history" 15
wait_for_lines 50
# Every record as written, in order.
diff -q "$history" <(received) >/dev/null \
  || { grep -o '"detail":"[^"]*"' "$work"/logs/*.jsonl >&2; exit 1; }
[ "$(ls "$work"/logs | wc -l)" -eq 1 ]
echo "10 records written while the central rsyslogd was stopped, shipped once it was back"
echo "all 50 records arrived as written, in order, in $(ls "$work"/logs)" \
  "($(($(cat "$work"/logs/*.jsonl | wc -l) - 50)) delivered again, whole)"
