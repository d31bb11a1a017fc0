#!/usr/bin/env bash
# The work shared among threads under ThreadSanitizer: the log check's and
# the batch's tests, the robot's (its pool, its watch on slow requests, its
# store and its rate, over loopback), then zeltra-score itself with --jobs 4 on a simulated
# contest (the check with its verdicts, reports and site, and the batch with
# every contact and its site). Any data race fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset tsan >/dev/null
cmake --build --preset tsan
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan.supp"
build=build/tsan
"$build/tests/core/core_tests" --gtest_brief=1 \
  --gtest_filter='LogCheck*:ClockOffsets*:NearCalls*:TakenSkipper*:RunInOrder*:ForEachStretch*'
"$build/tests/organiser/organiser_tests" --gtest_brief=1 --gtest_filter='ResultsWriter*'
"$build/tests/tools/score/score_tests" --gtest_brief=1 \
  --gtest_filter='CrossCheck*:ScoreRunTest.*:Cases/*cross_check*:Cases/*batch*'
# The tests that run the robot as its own program (the kill -9, the
# commands, export beside it, the greedy client, mail, nginx) run in the
# native build; these share the robot in their own process.
"$build/tests/tools/robot/robot_tests" --gtest_brief=1 \
  --gtest_filter='-*Kill*:RobotCommand*:Deployment.Behind*:Deployment.TheReadmes*:Mail.Each*:*ExportingWhileServing*:*GreedyClient*:SlowClients.ReadersWho*:Stranger.HeldUploads*'

contest="$build/tsan-contest"
rm -rf "$contest" && mkdir -p "$contest"
"$build/bench/make_score_logs" contest "$contest/logs" 120 300
tool="$build/src/tools/score/zeltra-score"
cty=tests/tools/score/cases/cty.dat
# Exit status 1: the simulated contest has lines that cannot be read, as a
# real one does; a race ends the run with 66.
scored() {
  local status=0
  "$@" || status=$?
  [ "$status" -le 1 ] || { echo "tsan: zeltra-score ended with $status"; exit 1; }
}
scored "$tool" --cty "$cty" --jobs 4 --cross-check "$contest/logs" --verdicts "$contest/verdicts.csv" \
  --reports "$contest/reports" --site "$contest/site" --format json > "$contest/results.json"
scored "$tool" --cty "$cty" --jobs 4 --contacts --format csv --site "$contest/batch-site" \
  "$contest/logs" > "$contest/contacts.csv"
echo "tsan: the log check and the batch of $(ls "$contest/logs" | wc -l) logs with --jobs 4, no race"
