#!/usr/bin/env bash
# Ships a station's history to a central server and its database with the
# shipped rsyslog configurations and SQL, for real: two rsyslogd on the
# loopback address and a PostgreSQL cluster of this test's own (a Unix
# socket in a temporary folder), each with its own work folder and port; only
# places, ports and credentials are put into the shipped files. 50 records
# are appended by tpfw's own history writer, one of them 64 KiB and one named
# by its station: 20, then 5 while the station's rsyslogd is stopped, 10 while
# the central rsyslogd is, 5 while the database is, 10 more, of which one is
# appended a second time on purpose. The central files must hold every record
# whole, the plant IT page's jq line each once, and the table exactly one row
# per runId, each equal to what the station wrote; that page's queries must
# run.
# Then the limit: a record of 4,000 images of 255-character paths arrives
# whole, one over the limit is set aside centrally, never stored cut, and
# holds up nothing behind it. Every record becomes a row: the longest serial
# the station's rule allows, and records edited by hand with what the rule
# refuses (a serial of 32,767 characters, NUL, zero-width, bidi, line
# separator, a name of 300 characters), none of which names a central file.
# The line engineer's jq line for a spreadsheet defuses formulas. Only its own
# processes are started and stopped, by pid. With TPFW_SHIP_MEASURE=N it
# also measures N records; with TPFW_CHAIN_MEASURE=N, the chain view over a
# history of N records.
# usage: ship_history.sh DEPLOY_DIR HISTORY_WRITER DOCS_DIR
set -euo pipefail
deploy=$1
writer=$2
plant=$3/plant-it.md
line_engineer=$3/line-engineer.md

pgbin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
missing=()
command -v rsyslogd >/dev/null || missing+=(rsyslog)
for module in imrelp ompgsql; do
  ls /usr/lib/*/rsyslog/$module.so >/dev/null 2>&1 || missing+=("rsyslog's $module")
done
[ -n "$pgbin" ] || missing+=(postgresql)
command -v jq >/dev/null || missing+=(jq)
if [ ${#missing[@]} -gt 0 ]; then
  echo "skipped: missing ${missing[*]}"
  exit 77
fi

work=$(mktemp -d)
chmod 755 "$work"
central_pid=
station_pid=
pg_pid=
# PostgreSQL is stopped with SIGINT: SIGTERM waits for its clients to leave.
stop() {
  local pid=$1 signal=${2:-TERM}
  [ -n "$pid" ] || return 0
  kill -"$signal" "$pid" 2>/dev/null || true
  while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
}
trap 'stop "$station_pid"; stop "$central_pid"; stop "$pg_pid" INT; rm -rf "$work"' EXIT

# A free port, as the kernel hands one out.
free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
port=$(free_port)
pgport=$(free_port)
mkdir -p "$work/central" "$work/station" "$work/logs" "$work/pg"
history=$work/history.jsonl
touch "$history"

# PostgreSQL will not run as root: there, its own user runs it.
as_postgres() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
[ "$(id -u)" -ne 0 ] || chown postgres "$work/pg"
admin=admin-$RANDOM$RANDOM
ingest=ingest-$RANDOM$RANDOM
echo "$admin" >"$work/pg/password"
as_postgres "$pgbin/initdb" -D "$work/pg/data" -U tpfw_admin --auth=scram-sha-256 --pwfile="$work/pg/password" >/dev/null
start_database() {
  as_postgres "$pgbin/pg_ctl" -D "$work/pg/data" -l "$work/pg/log" -w -s \
    -o "-k $work/pg -p $pgport -c listen_addresses=''" start
  pg_pid=$(head -1 "$work/pg/data/postmaster.pid")
}
sql() {
  PGPASSWORD=$admin psql -h "$work/pg" -p "$pgport" -U tpfw_admin -d tpfw -X -q -t -A -v ON_ERROR_STOP=1 "$@"
}
start_database
PGPASSWORD=$admin psql -h "$work/pg" -p "$pgport" -U tpfw_admin -d postgres -X -q -c "CREATE DATABASE tpfw"
sql -v ingest_password="$ingest" -f "$deploy/postgresql/tpfw.sql"

# The shipped files, with this test's places, ports, credentials and retry
# time put in.
sed -e "s|Port=\"2514\"|Port=\"$port\"|" -e "s|/var/log/tpfw|$work/logs|" -e "s|server=\"localhost\"|server=\"$work/pg\"|" \
  -e "s|port=\"5432\"|port=\"$pgport\"|" -e "s|pass=\"change-me\"|pass=\"$ingest\"|" \
  -e "s|resumeInterval=\"10\"|resumeInterval=\"1\"|" \
  "$deploy/rsyslog/tpfw-central-pgsql.conf" >"$work/central/tpfw.conf"
sed -e "s|Port=\"2514\"|Port=\"$port\"|" -e "s|tpfw-central.example|127.0.0.1|" \
  -e "s|/home/line/.local/share/tpfw/history.jsonl|$history|" -e "s|resumeInterval=\"10\"|resumeInterval=\"1\"|" \
  "$deploy/rsyslog/tpfw-station.conf" >"$work/station/tpfw.conf"
# Two more stations' histories, shipped by the same rsyslogd: the chain's.
chain_a=$work/chain-a.jsonl
chain_b=$work/chain-b.jsonl
for chain in "$chain_a" "$chain_b"; do
  touch "$chain"
  printf 'input(type="imfile" File="%s" Tag="tpfw" discardTruncatedMsg="on" Ruleset="tpfw-ship")\n' "$chain" \
    >>"$work/station/tpfw.conf"
done
for side in central station; do
  printf 'global(workDirectory="%s")\ninclude(file="%s")\n' "$work/$side" "$work/$side/tpfw.conf" >"$work/$side/rsyslog.conf"
  rsyslogd -N1 -f "$work/$side/rsyslog.conf" >/dev/null
done
# The central server without a database reads as well.
sed "s|/var/log/tpfw|$work/logs|" "$deploy/rsyslog/tpfw-central.conf" >"$work/files-only.conf"
printf 'global(workDirectory="%s")\ninclude(file="%s")\n' "$work/central" "$work/files-only.conf" >"$work/files-only-rsyslog.conf"
rsyslogd -N1 -f "$work/files-only-rsyslog.conf" >/dev/null

start() {
  rsyslogd -n -f "$work/$1/rsyslog.conf" -i "$work/$1/pid" >>"$work/$1/out" 2>&1 &
  echo $!
}
# The plant IT page's line that keeps the first of each runId, on this test's files.
once() {
  local line
  line=$(grep -m1 "jq -c -n 'foreach inputs" "$plant" | sed -e 's/^ *//' -e "s|/var/log/tpfw|$work/logs|")
  eval "$line"
}
arrived() {
  once 2>/dev/null | wc -l
}
rows() {
  sql -c "SELECT count(*) FROM tpfw_runs"
}
fail() {
  echo "$1" >&2
  for log in "$work"/*/out "$work/pg/log"; do tail -c 2000 "$log" | cut -c 1-300 >&2; done
  exit 1
}
wait_for() {
  for _ in $(seq 600); do
    [ "$($1)" -ge "$2" ] && return 0
    sleep 0.1
  done
  fail "only $($1) of $2 records: $1"
}

central_pid=$(start central)
station_pid=$(start station)
"$writer" "$history" 18
"$writer" "$history" 1 65536
"$writer" "$history" 1 0 "Line 3/A 'B'"
wait_for arrived 20
wait_for rows 20
echo "20 records shipped, one of 64 KiB, one named by its station"

# Written while the station's rsyslogd is down: read on its start from where
# it had got to.
stop "$station_pid"
"$writer" "$history" 5
station_pid=$(start station)
wait_for arrived 25
echo "5 records written while the station's rsyslogd was stopped, shipped once it was back"

stop "$central_pid"
central_pid=
"$writer" "$history" 10
central_pid=$(start central)
wait_for arrived 35
echo "10 records written while the central rsyslogd was stopped, shipped once it was back"

stop "$pg_pid" INT
pg_pid=
"$writer" "$history" 5
wait_for arrived 40
start_database
"$writer" "$history" 10
# Sent twice on purpose.
tail -n 1 "$history" >>"$history"
wait_for arrived 50
wait_for rows 50
echo "5 records written while the database was stopped, stored once it was back; one appended twice"

# Every line the station wrote is in a central file, whole and as written,
# and the plant IT page's line keeps each record once.
[ "$(wc -l <"$history")" -eq 51 ]
diff <(sort -u "$history") <(cat "$work"/logs/*.jsonl | sort -u) >/dev/null || fail "the central files differ"
[ "$(once | wc -l)" -eq 50 ] || fail "jq kept $(once | wc -l) records"
[ -e "$work/logs/$(hostname).jsonl" ] && [ -e "$work/logs/Line 3_A 'B'.jsonl" ] || fail "files: $(ls "$work/logs")"
echo "the central files hold every record whole, in $(ls "$work"/logs | tr '\n' ' ')" \
  "($(($(cat "$work"/logs/*.jsonl | wc -l) - 50)) delivered again, whole); the plant IT page's jq line keeps 50"

# One row per runId, each the record the station wrote.
sql -c "CREATE TEMPORARY TABLE written (line text)" \
  -c "\\copy written FROM '$history' WITH (FORMAT csv, QUOTE e'\\x01', DELIMITER e'\\x02')" \
  -c "SELECT count(*) FROM tpfw_runs WHERE record NOT IN (SELECT line::jsonb FROM written)" >"$work/unmatched"
[ "$(rows)" -eq 50 ] && [ "$(tail -1 "$work/unmatched")" -eq 0 ] || fail "rows $(rows), unmatched $(cat "$work/unmatched")"
[ "$(sql -c "SELECT count(*) FROM tpfw_runs WHERE run_id::text = record->>'runId' AND host = record->>'host'
             AND station IS NOT DISTINCT FROM record->>'station'
             AND started = (record->>'started')::timestamptz AND outcome = 'ok'")" -eq 50 ] || fail "columns differ"
echo "the table holds one row per runId, each equal to what the station wrote"

# The plant IT page's queries, as a quality engineer would run them.
awk '/^```sql/ { on = 1; next } /^```/ { on = 0 } on' "$plant" >"$work/queries.sql"
[ "$(grep -c ';$' "$work/queries.sql")" -eq 3 ] || fail "the plant IT page shows $(grep -c ';$' "$work/queries.sql") queries"
sql -f "$work/queries.sql" >/dev/null
echo "the plant IT page's three queries run"

# At the limit and past it: the largest record arrives whole; a longer one
# is set aside, never stored cut, and the next arrives regardless, though
# its time cannot be read (edited by hand): stored, the time left null.
"$writer" "$history" 1 $((4000 * 360))
"$writer" "$history" 1 $((5 << 20))
"$writer" "$history" 1
tail -1 "$history" | sed -e "s/\"runId\":\"[^\"]*\"/\"runId\":\"$(cat /proc/sys/kernel/random/uuid)\"/" \
  -e 's/"started":"[^"]*"/"started":"not a time"/' >>"$history"
wait_for rows 53
sleep 1
[ "$(rows)" -eq 53 ] || fail "$(rows) rows"
[ "$(sql -c "SELECT count(*) FROM tpfw_runs WHERE started IS NULL AND record->>'started' = 'not a time'")" -eq 1 ] \
  || fail "the record whose time cannot be read was not stored"
sed -n 52p "$history" >"$work/largest"
[ "$(wc -c <"$work/largest")" -gt $((1400 << 10)) ] && grep -qxF -f "$work/largest" "$work/logs/$(hostname).jsonl" \
  || fail "the largest record did not arrive whole"
rejected=$work/logs/$(hostname).rejected
[ -e "$rejected" ] && [ "$(wc -l <"$rejected")" -eq 1 ] && [ "$(wc -c <"$rejected")" -lt $((5 << 20)) ] \
  || fail "the cut record was not set aside"
echo "a record of $(($(wc -c <"$work/largest") >> 10)) KiB arrived whole; one of 5 MiB was cut at the limit," \
  "set aside in $(basename "$rejected") ($(($(wc -c <"$rejected") >> 10)) KiB), and the record after it stored"

# Every record a row: the longest serial the rule allows, as tpfw writes it,
# then, edited by hand, what the rule refuses; a NUL, which jsonb cannot
# hold, kept as its escape and flagged.
before=$(rows)
longest=$(printf 'S%.0s' $(seq 256))
"$writer" "$history" 1 0 "" "$longest"
python3 - "$history" <<'EOF'
import json, random, string, sys, uuid
path = sys.argv[1]
with open(path, encoding='utf-8') as history:
    base = json.loads(history.read().splitlines()[-1])
# The long serial random: compressed, a repeated letter would fit any index.
refused = [('unit', ''.join(random.choices(string.ascii_letters, k=32767))), ('station', 'Line\0 3'), ('operator', 'op\x007'), ('unit', 'SN12\u200b3456'),
           ('station', 'Line\u202e 3'), ('station', 'Line\u2066 3'), ('unit', 'SN\u2028654321'),
           ('station', 'L' * 300)]
with open(path, 'a', encoding='utf-8') as history:
    for key, value in refused:
        history.write(json.dumps(dict(base, **{'runId': str(uuid.uuid4()), key: value}), ensure_ascii=False,
                                 separators=(',', ':')) + '\n')
EOF
wait_for rows $((before + 9))
# Its own row, and those of the five records edited from it in other keys.
[ "$(sql -c "SELECT count(*) FROM tpfw_runs WHERE unit = '$longest'")" -eq 6 ] || fail "the longest serial has no row"
[ "$(sql -c "SELECT count(*) FROM tpfw_runs WHERE length(unit) = 32767")" -eq 1 ] || fail "the long serial has no row"
[ "$(sql -c "SELECT count(*) FROM tpfw_runs WHERE altered")" -eq 2 ] \
  && [ "$(sql -c "SELECT count(*) FROM tpfw_runs WHERE station = 'Line\u0000 3' OR operator = 'op\u00007'")" -eq 2 ] \
  || fail "the NULs were not kept as their escapes: $(sql -c "SELECT station, operator FROM tpfw_runs WHERE altered")"
files=$(cd "$work/logs" && ls | sort | tr '\n' '|')
[ "$files" = "$(printf '%s\n' "$(hostname).jsonl" "$(hostname).rejected" "Line 3_A 'B'.jsonl" | sort | tr '\n' '|')" ] \
  || fail "central files: $files"
echo "$(($(rows) - before)) rows for the longest serial and 8 records edited by hand, 2 with a NUL kept as" \
  "its escape; no central file named by what the rule refuses"

# tpfw.sql run again, as an upgrade runs it: every row kept, and records
# still arrive.
before=$(rows)
sql -v ingest_password="$ingest" -f "$deploy/postgresql/tpfw.sql" >/dev/null
"$writer" "$history" 1
wait_for rows $((before + 1))
echo "tpfw.sql run again kept the $before rows; records still arrive"

# First-pass yield as the station counts it: a retried panel is no first
# pass, a refusal no run.
before=$(rows)
for run in "SN1 failed" "SN1 ok" "SN2 ok" "SN3 notStarted"; do
  "$writer" "$history" 1 0 "Line 9" $run
done
# A panel's first run is the first to start, though a later one ended
# first; a run that sent no image is none.
python3 - "$history" <<'EOF'
import json, sys, uuid
path = sys.argv[1]
with open(path, encoding='utf-8') as history:
    base = [json.loads(line) for line in history.read().splitlines() if '"SN2"' in line][-1]
day, offset = base['started'][:10], base['started'][23:]
runs = [('SN4', 'failed', '10:00:00', '10:05:00', base['images']), ('SN4', 'ok', '10:01:00', '10:02:00', base['images']),
        ('SN5', 'ok', '10:00:00', '10:00:01', [])]
with open(path, 'a', encoding='utf-8') as history:
    for unit, outcome, started, ended, images in runs:
        record = dict(base, runId=str(uuid.uuid4()), unit=unit, outcome=outcome, images=images,
                      started=f'{day}T{started}.000{offset}', ended=f'{day}T{ended}.000{offset}')
        history.write(json.dumps(record, ensure_ascii=False, separators=(',', ':')) + '\n')
EOF
wait_for rows $((before + 7))
first_pass=$(sql -c "SELECT panels || ' ' || first_pass_ok || ' ' || first_pass_percent FROM tpfw_first_pass WHERE station = 'Line 9'")
[ "$first_pass" = "3 1 33.3" ] || fail "first pass: $(sql -c "SELECT * FROM tpfw_first_pass")"
echo "the first-pass view counts Line 9's 3 panels, 1 OK the first time: 33.3 %"

# The line engineer's jq line for a spreadsheet, on records whose texts start as
# formulas do: each is written as text.
formulas=$work/formulas.jsonl
tail -1 "$history" | jq -c '.station = "=1+1" | .operator = "+SUM(1" | .unit = "@SUM(A1)" | .order = "-2"' >"$formulas"
csv=$(grep -m1 "@csv" "$line_engineer" | sed -e 's/^ *//' -e "s|~/.local/share/tpfw/history.jsonl > history.csv|$formulas|")
fields=$(eval "$csv")
for text in "'=1+1" "'+SUM(1" "'@SUM(A1)" "'-2"; do
  grep -qF "\"$text\"" <<<"$fields" || fail "the line engineer's CSV holds a live formula: $fields"
done
echo "the line engineer's jq line for a spreadsheet writes formulas as text"

# The chain: two stations' histories of 500 records arrive whole; what is
# done to a history after (or before) its records left is found by the view
# at its station and seq, and nobody but the owner changes what arrived.
lines_of() {
  sql -c "SELECT count(*) FROM tpfw_lines WHERE host = '$1'"
}
# A history rewritten whole, as an editor or sed -i does: read again from
# its start.
rewrite() {
  python3 - "$@" <<'EOF'
import hashlib, re, sys
path, action, at = sys.argv[1], sys.argv[2], int(sys.argv[3])
with open(path, 'rb') as history:
    lines = history.read().split(b'\n')[:-1]
if action in ('drop', 'delete'):
    del lines[at - 1:None if action == 'drop' else at]
else:
    lines[at - 1] = lines[at - 1].replace(b'"outcome":"ok"', b'"outcome":"failed"')
    # Chained again from there on, as whoever knows how would.
    for n in range(at, len(lines) if action == 'rechain' else at):
        prev = hashlib.sha256(lines[n - 1]).hexdigest().encode()
        lines[n] = re.sub(rb'"prev":"[0-9a-f]{64}"', b'"prev":"' + prev + b'"', lines[n])
with open(path + '.new', 'wb') as history:
    history.write(b''.join(line + b'\n' for line in lines))
EOF
  mv "$1.new" "$1"
}
breaks() {
  sql -c "SELECT station || ' ' || kind || ' ' || min(seq) || '-' || max(seq) || ' ' || count(*)
          FROM tpfw_chain_breaks WHERE host LIKE 'chain-%' GROUP BY station, kind ORDER BY 1"
}
TPFW_WRITER_HOST=chain-a "$writer" "$chain_a" 500 0 "Chain A"
TPFW_WRITER_HOST=chain-b "$writer" "$chain_b" 500 0 "Chain B"
wait_for "lines_of chain-a" 500
wait_for "lines_of chain-b" 500
[ -z "$(breaks)" ] || fail "whole histories break: $(breaks)"
# Edited where it stands; chained again from the middle; its tail dropped
# and written on.
rewrite "$chain_a" edit 100
rewrite "$chain_b" rechain 200
rewrite "$chain_a" drop 498
TPFW_WRITER_HOST=chain-a "$writer" "$chain_a" 1 0 "Chain A"
wait_for "lines_of chain-a" 502
wait_for "lines_of chain-b" 801
# Changed, and deleted, before they were shipped: N records written while
# the station's rsyslogd is stopped, one rewritten, until that many lines.
before_shipping() {
  stop "$station_pid"
  TPFW_WRITER_HOST=chain-b "$writer" "$chain_b" "$1" 0 "Chain B"
  rewrite "$chain_b" "$2" "$3"
  station_pid=$(start station)
  wait_for "lines_of chain-b" "$4"
}
before_shipping 3 edit 502 804
before_shipping 2 delete 504 805
# Nobody but the owner changes what arrived, even where granted the right.
sql -c "GRANT UPDATE, DELETE, TRUNCATE ON tpfw_runs, tpfw_lines TO tpfw_reader"
for role in tpfw_ingest tpfw_reader; do
  for change in "DELETE FROM tpfw_lines WHERE host = 'chain-a'" "UPDATE tpfw_runs SET outcome = 'ok'" \
    "TRUNCATE tpfw_lines" "TRUNCATE tpfw_runs"; do
    if sql -c "SET ROLE $role" -c "$change" 2>/dev/null; then fail "$role may: $change"; fi
  done
done
sql -c "REVOKE UPDATE, DELETE, TRUNCATE ON tpfw_runs, tpfw_lines FROM tpfw_reader"
# The owner may, and is found out.
sql -c "UPDATE tpfw_runs SET record = jsonb_set(record, '{outcome}', '\"failed\"')
        WHERE line_sha256 IN (SELECT line_sha256 FROM tpfw_lines WHERE host = 'chain-a' AND seq = 7)"
expected=$'Chain A altered 7-7 1\nChain A repeated 100-498 2\nChain B missing 504-504 1\nChain B repeated 200-500 301\nChain B unlinked 503-503 1'
[ "$(breaks)" = "$expected" ] || fail "the chains' breaks: $(breaks)"
# The README's one query for the auditor, as the reader role runs it.
audit=$(awk '/^## For the auditor/ { on = 1 } on && /^```sql/ { take = 1; next } take && /^```/ { exit } take' \
  "$3/../README.md")
[ "$(sql -c "SET ROLE tpfw_reader" -c "$audit" | grep -c '|chain-')" -eq 306 ] || fail "the auditor's query: $audit"
echo "two stations' chains of 500 records whole; $(breaks | wc -l) kinds of breaks found where they are;" \
  "no role but the owner's changes what arrived"

if [ -n "${TPFW_SHIP_MEASURE:-}" ]; then
  # Written beforehand (the writer syncs each record to disk), then shipped
  # from the station's start: the rate of both rsyslogd and the database.
  before=$(rows)
  stop "$station_pid"
  "$writer" "$history" "$TPFW_SHIP_MEASURE"
  start_ns=$(date +%s%N)
  station_pid=$(start station)
  wait_for rows $((before + TPFW_SHIP_MEASURE))
  took=$(($(date +%s%N) - start_ns))
  echo "$TPFW_SHIP_MEASURE records to rows in $((took / 1000000)) ms: $((TPFW_SHIP_MEASURE * 1000000000 / took)) records/s"
  before=$(rows)
  for _ in $(seq 100); do
    "$writer" "$history" 1
    sleep 0.1
  done
  wait_for rows $((before + 100))
  sql -c "SELECT 'from its write to its row, one at a time: median ' || round(extract(epoch FROM percentile_cont(0.5) WITHIN GROUP (ORDER BY arrived - ended)) * 1000) || ' ms, max '
                 || round(extract(epoch FROM max(arrived - ended)) * 1000) || ' ms' FROM (SELECT * FROM tpfw_runs ORDER BY arrived DESC LIMIT 100) AS trickle"
fi
if [ -n "${TPFW_CHAIN_MEASURE:-}" ]; then
  # One history of that many chained records, stored as they arrive, then
  # the auditor's view over all of it.
  python3 - "$TPFW_CHAIN_MEASURE" "$(tail -1 "$chain_a")" >"$work/measured.jsonl" <<'EOF'
import hashlib, json, sys, uuid
record, prev = json.loads(sys.argv[2]), '0' * 64
record.update(host='measured', images=record['images'][:3])
for seq in range(1, int(sys.argv[1]) + 1):
    record.update(runId=str(uuid.uuid4()), seq=seq, prev=prev)
    line = json.dumps(record, ensure_ascii=False, separators=(',', ':'))
    prev = hashlib.sha256(line.encode()).hexdigest()
    print(line)
EOF
  sql -c "CREATE TEMPORARY TABLE measured (line text)" \
    -c "\\copy measured FROM '$work/measured.jsonl' WITH (FORMAT csv, QUOTE e'\\x01', DELIMITER e'\\x02')" \
    -c "INSERT INTO tpfw_arrivals SELECT line FROM measured" -c "ANALYZE"
  start_ns=$(date +%s%N)
  [ "$(sql -c "SELECT count(*) FROM tpfw_chain_breaks WHERE host = 'measured'")" -eq 0 ] || fail "the measured chain breaks"
  echo "the chain view over $(sql -c "SELECT count(*) FROM tpfw_lines") lines: $((($(date +%s%N) - start_ns) / 1000000)) ms"
fi
