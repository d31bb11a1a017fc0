#!/bin/sh
# zeltra-score as a process meets what only a process meets: standard input,
# gzip-compressed logs (named so or not, piped or not), a FIFO and a device
# named on the command line, a full disk and a closed standard output.
# Usage: command-line.sh ZELTRA_SCORE CASES_FOLDER
set -u
tool="$1"
cases="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cty="$cases/cty.dat"
log="$cases/adx/log.adx"
failures=0

# expect NAME STATUS PATTERN COMMAND...: the command exits with STATUS and
# its standard error (or, with PATTERN "out:...", its output) holds PATTERN.
expect() {
  name="$1" status="$2" pattern="$3"
  shift 3
  timeout 20 "$@" > "$work/out" 2> "$work/err"
  got=$?
  where="$work/err"
  case "$pattern" in out:*) where="$work/out" pattern="${pattern#out:}" ;; esac
  if [ "$got" -ne "$status" ] || ! grep -qF -- "$pattern" "$where"; then
    echo "FAIL $name: status $got (expected $status), no \"$pattern\" in:"
    cat "$work/out" "$work/err"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

score="Score: 22*(1+3+3)=154"
expect "standard input" 0 "out:$score" sh -c "\"$tool\" --cty \"$cty\" - < \"$log\""
gzip -c "$log" > "$work/log.adx.gz"
expect "a .gz file" 0 "out:$score" "$tool" --cty "$cty" "$work/log.adx.gz"
cp "$work/log.adx.gz" "$work/attachment.bin"
expect "gzip known by its bytes" 0 "out:$score" "$tool" --cty "$cty" "$work/attachment.bin"
expect "gzip on standard input" 0 "out:$score" sh -c "\"$tool\" --cty \"$cty\" - < \"$work/log.adx.gz\""
head -c 100 "$work/log.adx.gz" > "$work/cut.adx.gz"
expect "a cut gzip file" 4 "not a whole gzip file" "$tool" --cty "$cty" "$work/cut.adx.gz"
{ printf '<CALL:4>W1AW<BAND:3>20m<MODE:4>RTTY<STATION_CALLSIGN:6>SP5XYZ<EOR>'; head -c 300000000 /dev/zero; } | gzip -c > "$work/bomb.gz"
expect "a gzip bomb" 4 "decompresses to more than" "$tool" --cty "$cty" "$work/bomb.gz"

mkfifo "$work/fifo"
expect "a FIFO" 4 "not a regular file" "$tool" --cty "$cty" "$work/fifo"
expect "a device" 4 "not a regular file" "$tool" --cty "$cty" /dev/zero
expect "a FIFO in a batch" 4 "not a regular file" "$tool" --cty "$cty" "$log" "$work/fifo"

expect "a full disk" 6 "cannot write the output" sh -c "\"$tool\" --cty \"$cty\" \"$log\" > /dev/full"
expect "a closed output" 6 "cannot write the output" sh -c "\"$tool\" --cty \"$cty\" \"$log\" >&-"
expect "help to a full disk" 6 "cannot write the output" sh -c "\"$tool\" --help > /dev/full"
expect "the version" 0 "out:zeltra-score " "$tool" --version
expect "a usage error" 2 "--format" "$tool" --format xml "$log"

# A country file beside the program serves when the program runs from PATH,
# its own name then naming no folder; one in the working folder does not.
mkdir -p "$work/bin" "$work/elsewhere"
cp "$tool" "$work/bin/zeltra-score"
echo "no country file" > "$work/bin/cty.dat"
cp "$cty" "$work/elsewhere/cty.dat"
expect "the country file beside the program, run from PATH" 4 "$work/bin/cty.dat: not a country file" \
  sh -c "cd \"$work/elsewhere\" && PATH=\"$work/bin:\$PATH\" zeltra-score \"$log\""

echo "$failures failed"
[ "$failures" -eq 0 ]
