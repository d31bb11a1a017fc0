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
# Compressed far more than 200 times, yet small once read: a log padded
# with blanks is read whole (and its blanks at the end told as no record).
{ printf '<CALL:4>W1AW<BAND:3>20m<MODE:4>RTTY<STATION_CALLSIGN:6>SP5XYZ<EOR>'; head -c 30000000 /dev/zero | tr '\0' ' '; } | gzip -9 -c > "$work/padded.gz"
expect "a small log compressed 1000 times" 1 "out:Score: 10*(0+1+1)=20" "$tool" --cty "$cty" "$work/padded.gz"

mkfifo "$work/fifo"
expect "a FIFO" 4 "not a regular file" "$tool" --cty "$cty" "$work/fifo"
expect "a device" 4 "not a regular file" "$tool" --cty "$cty" /dev/zero
expect "a FIFO in a batch" 4 "not a regular file" "$tool" --cty "$cty" "$log" "$work/fifo"

expect "a full disk" 6 "cannot write the output" sh -c "\"$tool\" --cty \"$cty\" \"$log\" > /dev/full"
expect "a closed output" 6 "cannot write the output" sh -c "\"$tool\" --cty \"$cty\" \"$log\" >&-"
expect "help to a full disk" 6 "cannot write the output" sh -c "\"$tool\" --help > /dev/full"
expect "the version" 0 "out:zeltra-score " "$tool" --version
expect "a usage error" 2 "--format" "$tool" --format xml "$log"
expect "reports without the check" 2 "--reports" "$tool" --reports "$work/reports" "$log"

# A country file beside the program serves when the program runs from PATH,
# its own name then naming no folder; one in the working folder does not.
mkdir -p "$work/bin" "$work/elsewhere"
cp "$tool" "$work/bin/zeltra-score"
echo "no country file" > "$work/bin/cty.dat"
cp "$cty" "$work/elsewhere/cty.dat"
expect "the country file beside the program, run from PATH" 4 "$work/bin/cty.dat: not a country file" \
  sh -c "cd \"$work/elsewhere\" && PATH=\"$work/bin:\$PATH\" zeltra-score \"$log\""

# What the log check writes goes where it is told, and replaces nothing
# that is not its own: a FIFO and a device are written as they are, a link
# stays a link, and no log of the folder is written over.
logs="$cases/cross-check-hand-worked/logs"
expect "verdicts to standard output" 0 "out:SP1AAA,12,SP3CCX,7,2026-12-05 10:30,busted-call" \
  "$tool" --cty "$cty" --cross-check "$logs" --verdicts -
mkfifo "$work/verdicts.fifo"
timeout 20 cat "$work/verdicts.fifo" > "$work/through-fifo" &
expect "verdicts through a FIFO" 0 "out:Rank" "$tool" --cty "$cty" --cross-check "$logs" --verdicts "$work/verdicts.fifo"
wait
if [ -p "$work/verdicts.fifo" ] && grep -q "busted-call" "$work/through-fifo"; then
  echo "ok   the FIFO stays one and carried the verdicts"
else
  echo "FAIL the FIFO was replaced, or carried nothing"
  failures=$((failures + 1))
fi
expect "verdicts to a device" 0 "out:Rank" "$tool" --cty "$cty" --cross-check "$logs" --verdicts /dev/null
[ -c /dev/null ] || { echo "FAIL /dev/null is no longer a device"; failures=$((failures + 1)); }
: > "$work/real-verdicts.csv"
ln -s "$work/real-verdicts.csv" "$work/verdicts-link.csv"
expect "verdicts through a link" 0 "out:Rank" "$tool" --cty "$cty" --cross-check "$logs" --verdicts "$work/verdicts-link.csv"
if [ -L "$work/verdicts-link.csv" ] && grep -q "busted-call" "$work/real-verdicts.csv"; then
  echo "ok   the link stays one and its file holds the verdicts"
else
  echo "FAIL the link was replaced, or its file is empty"
  failures=$((failures + 1))
fi
mkdir -p "$work/folder"
cp "$logs"/*.log "$work/folder/"
mv "$work/folder/sp1aaa.log" "$work/folder/SP1AAA.txt"
before=$(cksum < "$work/folder/SP1AAA.txt")
expect "reports into the logs' folder" 6 "the report of SP1AAA is not written: will not write" \
  "$tool" --cty "$cty" --cross-check "$work/folder" --reports "$work/folder"
if [ "$before" = "$(cksum < "$work/folder/SP1AAA.txt")" ] &&
  grep -q "Log-check report for SP2BBB" "$work/folder/SP2BBB.txt"; then
  echo "ok   the log stays as it was, the other reports are written"
else
  echo "FAIL a log was written over, or the other reports are missing"
  failures=$((failures + 1))
fi
expect "verdicts over a log" 6 "will not write" "$tool" --cty "$cty" --cross-check "$work/folder" --verdicts "$work/folder/sp2bbb.log"
ls "$work/folder"/*.part > /dev/null 2>&1 && { echo "FAIL a .part file is left"; failures=$((failures + 1)); }

echo "$failures failed"
[ "$failures" -eq 0 ]
