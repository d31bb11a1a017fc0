#!/usr/bin/env bash
# zeltra-robot under load, over loopback: 200 Cabrillo logs of 2,000
# contacts uploaded by 16 clients at once (uploads per second, the 50th and
# 99th percentiles of the answer time), then one log of 5,000 contacts
# uploaded 21 times alone (the median receipt). Each upload is synced to
# the disk before it is answered, so the disk under build/ is part of the
# measure: the script says which file system it is. (The simulated logs
# are of 2026-12-06 and 7, the period given.) Then the same uploads
# again under attack, each kind at the size it was measured at: 4,000 slow
# clients from 260 addresses (headers, 5 MB bodies at 1.5 KB/s, readers of
# the list who never read), 1,000 idle connections, and 16 logs of 870,000
# "QSO:" lines sent at once, with the robot's peak memory from /proc and
# its data folder's size at the end.
# Usage: scripts/bench-robot.sh [CLIENTS, default 16]
set -euo pipefail
cd "$(dirname "$0")/.."
clients="${1:-16}"

scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench --target zeltra-robot make_score_logs robot_upload_bench >/dev/null
logs=build/bench/robot-logs
data=build/bench/robot-data
[ -d "$logs/batch" ] || build/bench/bench/make_score_logs cabrillo "$logs/batch" 200 2000
[ -d "$logs/one" ] || build/bench/bench/make_score_logs cabrillo "$logs/one" 1 5000
rm -rf "$data"

build/bench/src/tools/robot/zeltra-robot serve --data "$data" --listen 127.0.0.1:0 \
  --per-minute 0 --per-address 2000 --held-per-call 1000 --held-per-address 1000 --cty tests/tools/score/cases/cty.dat \
  --from "2026-12-06 00:00" --to "2026-12-08 00:00" > "$logs/robot.out" 2>"$logs/robot.err" &
robot=$!
trap 'kill $robot 2>/dev/null || true' EXIT
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/.*listening on 127.0.0.1:\([0-9]*\).*/\1/p' "$logs/robot.out")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { cat "$logs/robot.out"; exit 1; }

echo "== zeltra-robot: $(nproc) cores; its data on $(df -T "$(dirname "$data")" | awk 'NR == 2 { print $2 }')"
echo "$(du -sh "$logs/batch" | cut -f1) in $(ls "$logs/batch" | wc -l) logs;" \
  "the one log: $(stat -c %s "$logs"/one/*) bytes"
build/bench/bench/robot_upload_bench "$port" "$logs/batch" "$clients" "$(ls "$logs"/one/* | head -1)" 21

echo "== the same 200 uploads under attack (goal: every one answered, p99 under 1 s; the robot under 100 MB)"
echo "   4,000 slow clients from 260 addresses (headers a byte a second; 5 MB bodies at 1.5 KB/s;"
echo "   readers of the list who never read), 1,000 idle connections, 16 logs of 'QSO:' lines alone"
rm -rf "$data.attacked"
kill $robot 2>/dev/null || true
wait $robot 2>/dev/null || true
build/bench/src/tools/robot/zeltra-robot serve --data "$data.attacked" --listen 127.0.0.1:0 \
  --per-minute 0 --cty tests/tools/score/cases/cty.dat \
  --from "2026-12-06 00:00" --to "2026-12-08 00:00" > "$logs/robot.out" 2>"$logs/robot.err" &
robot=$!
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/.*listening on 127.0.0.1:\([0-9]*\).*/\1/p' "$logs/robot.out")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { cat "$logs/robot.out"; exit 1; }
empty="$logs/qso-lines.log"
[ -f "$empty" ] || { echo "START-OF-LOG: 3.0"; echo "CALLSIGN: SP9XXX"; awk 'BEGIN { for (i = 0; i < 870000; i++) print "QSO:" }'; } > "$empty"
for i in $(seq 16); do
  curl -s -o /dev/null --interface "127.0.2.$i" -F "log=@$empty" "http://127.0.0.1:$port/upload" &
done
build/bench/bench/robot_upload_bench "$port" "$logs/batch" "$clients" "$(ls "$logs"/one/* | head -1)" 3 1000 4000 260
wait $(jobs -p | grep -v "^$robot\$") 2>/dev/null || true
echo "the robot's peak memory: $(awk '/VmHWM/ { print $2, $3 }' /proc/$robot/status)"
echo "its data folder: $(du -sh "$data.attacked" | cut -f1) (incoming: $(du -sh "$data.attacked/incoming" | cut -f1))"
