#!/usr/bin/env bash
# Fuzzes each reader of files that strangers send (ADIF, ADX, Cabrillo, the
# country file, UTF-16 text, the log check of several Cabrillo logs, the
# categories a header declares, an
# upload to the robot and whatever a client sends the robot over HTTP),
# the settings file with the placement restore, the prefill list and the
# contest session, each for a bounded time, seeded with the test logs and
# the seeds in tests/fuzz, and prints how many inputs each ran. A crash, a sanitizer report, a leak or a memory
# use past the limit fails it; the input that did it is left in build/fuzz.
# Usage: scripts/fuzz.sh [SECONDS PER TARGET, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"

scripts/install-deps.sh
cmake --preset fuzz >/dev/null
targets="AdifReader AdxReader CabrilloReader CountryFile Utf16Text LogCheck Categories Settings
  PrefillList ContestSession RobotUpload RobotRequest"
# shellcheck disable=SC2086
cmake --build --preset fuzz --target $(printf 'fuzz_%s ' $targets) >/dev/null

cases=tests/tools/score/cases
seed() {  # seed TARGET PATTERN...: copies the matching test files into its corpus
  local target="$1"
  shift
  mkdir -p "build/fuzz/corpus/$target"
  find "$cases" -type f \( "$@" \) -exec cp {} "build/fuzz/corpus/$target/" \;
}
seed AdifReader -iname '*.adi'
seed AdxReader -iname '*.adx'
seed CabrilloReader -iname '*.log' -o -iname '*.txt'
seed CountryFile -name 'cty.dat'
# A log's header declares its categories: the Cabrillo logs' headers.
seed Categories -iname '*.log'
seed Utf16Text -path '*utf16*' -type f
# An upload may be any kind of log the readers take.
seed RobotUpload -iname '*.log' -o -iname '*.adi' -o -iname '*.adx' -o -iname '*.gz' -o -path '*utf16*'
# The log check's seeds: the hand-worked contest's logs, one after another,
mkdir -p build/fuzz/corpus/LogCheck
cat "$cases"/cross-check-hand-worked/logs/*.log > build/fuzz/corpus/LogCheck/hand-worked-contest
# and the real patterns', among them a station's two logs.
cat "$cases"/cross-check-real-patterns/logs/*.log > build/fuzz/corpus/LogCheck/real-patterns
# The older surfaces' seeds are kept in the tests tree, a folder a target.
for target in Settings PrefillList ContestSession RobotRequest; do
  mkdir -p "build/fuzz/corpus/$target"
  cp tests/fuzz/"$target"/* "build/fuzz/corpus/$target/"
done

# The readers' tags, so that short inputs reach past them. The build reads
# files a few bytes at a time (the fuzz preset's ZELTRA_READ_CHUNK), and
# inputs may be long enough to claim, and hold, more than one chunk.
dictionary() {
  case "$1" in
    AdifReader) echo adif ;;
    AdxReader) echo adx ;;
    CabrilloReader | LogCheck) echo cabrillo ;;
  esac
}

# One target for its time; its summary line, or its last output and the
# failure.
fuzz_one() {
  local target="$1"
  local log="build/fuzz/$target.log"
  local options=(-max_total_time="$seconds" -rss_limit_mb=1024 -max_len=262144 -timeout=10)
  local dict
  dict=$(dictionary "$target")
  [ -n "$dict" ] && options+=(-dict="$PWD/fuzz/dict/$dict.dict")
  if ! (cd build/fuzz && "./fuzz/fuzz_$target" "${options[@]}" "corpus/$target" \
      > "$target.log" 2>&1); then
    tail -40 "$log"
    echo "fuzz_$target: FAILED (the input is in build/fuzz)"
    return 1
  fi
  local runs
  runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log")
  echo "fuzz_$target: ${runs:-?} inputs in ${seconds} s, no fault"
}

# A target runs on one core: as many at once as there are cores, each
# told in the targets' order once all have run.
export seconds
export -f fuzz_one dictionary
failed=0
# shellcheck disable=SC2086
printf '%s\n' $targets | xargs -P "$(nproc)" -I{} bash -c 'fuzz_one "$1" > "build/fuzz/$1.said" 2>&1' _ {} ||
  failed=1
for target in $targets; do cat "build/fuzz/$target.said"; done
exit "$failed"
