#!/usr/bin/env bash
# Runs tpfw-run under strace as tpfw starts it, once with a history it can
# write and once with one it cannot, and checks that each record reaches the
# disk before anything depends on it: a pending record is synced before it
# takes its name, the history line before the pending record goes and before
# the run ends. Skipped (77) where strace cannot trace here.
# usage: synced_records.sh TPFW_RUN PANELPROG
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! strace -f -qq -o /dev/null true 2>"$work/why"; then
  echo "SKIP: strace cannot trace here: $(head -1 "$work/why")"
  exit 77
fi

for history in writable folder; do
  rm -rf "$work/run" && mkdir "$work/run" && touch "$work/run/1.log"
  [ $history = folder ] && mkdir "$work/run/history.jsonl"
  record="{\"started\":\"2026-12-08T01:00:00.000+00:00\",\"tpSize\":\"7inch\",\"sensitivity\":\"High\",\"images\":[],\"log\":\"$work/run/1.log\"}"
  # LeakSanitizer cannot work under a tracer: a sanitized build runs without it.
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 TPFW_RUN_LOCK=$work/run/run.lock strace -f -qq -y -o "$work/trace" \
    -e trace=fsync,fdatasync,linkat,rename,renameat,renameat2,unlink,exit_group \
    "$1" "$work/run/history.jsonl" "$work/run/1.pending.json" "$record" "$work/run" "$2" -ba
  # The supervisor is the process that ends last.
  awk -v history="$work/run/history.jsonl" -v pending="$work/run/1.pending.json" -v kind=$history '
    function fail(why) { print kind ": " why ": " $0 > "/dev/stderr"; bad = 1; exit 1 }
    $1 != supervisor && supervisor != "" { next }
    /^[0-9]+ +f(data)?sync\(/ {
      match($0, /sync\([0-9]+/); synced[substr($0, RSTART + 5, RLENGTH - 5)] = 1
      if (index($0, "<" history ">")) historySynced = 1
    }
    /linkat\(.*"\/proc\/self\/fd\/[0-9]+"/ && / = 0$/ {
      match($0, /fd\/[0-9]+/); if (!synced[substr($0, RSTART + 3, RLENGTH - 3)]) fail("linked unsynced")
      if (index($0, "\"" pending "\"")) named++
    }
    /rename.*"/ && index($0, ", \"" pending "\")") && / = 0$/ { named++ }
    /unlink\(/ && index($0, "\"" pending "\"") && kind == "writable" && !historySynced { fail("pending record gone before the history line was synced") }
    END {
      if (bad) exit 1
      if (named != (kind == "writable" ? 1 : 2)) { print kind ": the pending record was named " named " times" > "/dev/stderr"; exit 1 }
      if (kind == "writable" && !historySynced) { print kind ": the history line was never synced" > "/dev/stderr"; exit 1 }
    }
  ' supervisor="$(awk '/exit_group/ { pid = $1 } END { print pid }' "$work/trace")" "$work/trace" \
    || { cat "$work/trace" >&2; exit 1; }
  echo "$history history: every record synced before it was named or relied on"
done
