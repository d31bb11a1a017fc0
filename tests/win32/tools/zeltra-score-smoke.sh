#!/bin/sh
# zeltra-score.exe under Wine scores a small ADIF log to the table and
# score line worked out by hand (see tests/tools/score/ScoreRunTest.cpp).
# The organiser's check of the hand-worked contest gives the golden case's
# verdicts.
# Usage: zeltra-score-smoke.sh BIN_DIR CASES_DIR
set -e
bin="$1"
cases="$2"
folder="$bin/../zeltra-score-smoke"
rm -rf "$folder" && mkdir -p "$folder"
cp "$bin/zeltra-score.exe" "$folder/"
cd "$folder"
cat > cty.dat <<'CTY'
Poland:                   15:  28:  EU:   52.28:   -18.67:    -1.0:  SP:
    SN,SP;
United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:
    K,W;
CTY
printf '%s' '<CALL:6>SP9ABC<BAND:3>20m<MODE:4>RTTY<SRX_STRING:5>599 K<EOR>' > log.adi
printf '%s' '<CALL:4>W1AW<BAND:3>15m<MODE:4>RTTY<RST_RCVD:3>599<EOR>' >> log.adi
printf '%s' '<CALL:6>SP9ABC<BAND:3>20m<MODE:4>RTTY<SRX_STRING:5>599 M<EOR>' >> log.adi
cat > expected.txt <<'OUT'
Band   QSOs  Points  Voivodeship  DXCC  Continent
160
80
40
20        1       2            1     1          1
15        1      10            0     1          1
10
Total     2      12            1     2          2
Score: 12*(1+2+2)=60
OUT
status=0
wine zeltra-score.exe --my-call SP5XYZ log.adi > output.txt 2> errors.txt || status=$?
[ "$status" -eq 0 ] || { echo "exit status $status"; cat output.txt errors.txt; exit 1; }
tr -d '\r' < output.txt > answers.txt
diff -u expected.txt answers.txt
echo "zeltra-score.exe: the table and score line as expected"

# A log as it comes by mail, compressed (and named so or not), reads the same.
gzip -c log.adi > log.adi.gz
cp log.adi.gz attachment.bin
for file in log.adi.gz attachment.bin; do
  wine zeltra-score.exe --my-call SP5XYZ "$file" > output.txt 2> errors.txt || {
    echo "$file: exit status $?"; cat errors.txt; exit 1; }
  tr -d '\r' < output.txt | diff -u expected.txt -
done
echo "zeltra-score.exe: gzip-compressed logs read"

# ADX needs an XML parser this build does not have: refused with the reason.
printf '%s' '<?xml version="1.0"?><ADX><RECORDS><RECORD><CALL>W1AW</CALL></RECORD></RECORDS></ADX>' > log.adx
status=0
wine zeltra-score.exe --my-call SP5XYZ log.adx > output.txt 2> errors.txt || status=$?
[ "$status" -eq 4 ] && grep -q "export it as ADIF" errors.txt || {
  echo "ADX: exit status $status"; cat errors.txt; exit 1; }
echo "zeltra-score.exe: ADX refused with the reason"

# The organiser's check: the hand-worked contest's verdicts, line for line.
mkdir -p contest
cp "$cases"/cross-check-hand-worked/logs/*.log contest/
cp "$cases"/cty.dat cases-cty.dat
status=0
wine zeltra-score.exe --cty cases-cty.dat --cross-check contest --verdicts verdicts.csv \
  > output.txt 2> errors.txt || status=$?
[ "$status" -eq 0 ] || { echo "cross-check: exit status $status"; cat errors.txt; exit 1; }
diff -u "$cases/cross-check-hand-worked/expected-files/verdicts.csv" verdicts.csv
echo "zeltra-score.exe: the log check's verdicts as expected"

# Names with Polish letters, as an organiser in Łódź names them: a log, a
# folder of logs, a country file in such a folder, reports written into
# one. Wine hands the program its command line in UTF-16 from the UTF-8
# the shell gives it; redirected, the program's output is UTF-8.
export LC_ALL=C.UTF-8
mkdir -p "wyniki łódzkie" "kraje ąęś" "raporty żółte"
cp cty.dat "kraje ąęś/cty.dat"
cp cases-cty.dat "kraje ąęś/zawody.dat"
cp log.adi "łódź-log.adi"
sed 's/<EOR>/<STATION_CALLSIGN:6>SP5XYZ<EOR>/g' log.adi > "wyniki łódzkie/pierwszy.adi"
cp "wyniki łódzkie/pierwszy.adi" "wyniki łódzkie/źdźbło.adi"
status=0
wine zeltra-score.exe --cty "kraje ąęś/cty.dat" --my-call SP5XYZ "łódź-log.adi" \
  > output.txt 2> errors.txt || status=$?
[ "$status" -eq 0 ] || { echo "łódź-log.adi: exit status $status"; cat errors.txt; exit 1; }
tr -d '\r' < output.txt | diff -u expected.txt -
status=0
wine zeltra-score.exe --cty "kraje ąęś/cty.dat" --format csv "wyniki łódzkie" \
  > output.txt 2> errors.txt || status=$?
[ "$status" -eq 0 ] || { echo "wyniki łódzkie: exit status $status"; cat errors.txt; exit 1; }
for name in pierwszy.adi źdźbło.adi; do
  grep -q "wyniki łódzkie.$name" output.txt || { echo "no $name in:"; cat output.txt; exit 1; }
done
# A name the program cannot read is told in the same letters.
status=0
wine zeltra-score.exe --cty "kraje ąęś/cty.dat" --my-call SP5XYZ "brak-łódź.adi" \
  > output.txt 2> errors.txt || status=$?
[ "$status" -eq 4 ] && grep -q "brak-łódź.adi: cannot read the file: it does not exist" errors.txt || {
  echo "a missing file: exit status $status"; cat errors.txt; exit 1; }
mkdir -p "zawody łódzkie"
cp contest/*.log "zawody łódzkie/"
status=0
# The golden site was made at this moment (SOURCE_DATE_EPOCH, as its
# golden test sets it); Wine passes it on to the Windows program.
SOURCE_DATE_EPOCH=1796817600 wine zeltra-score.exe --cty "kraje ąęś/zawody.dat" \
  --cross-check "zawody łódzkie" --verdicts "raporty żółte/werdykty.csv" --reports "raporty żółte" \
  --site "strona wyników" > output.txt 2> errors.txt || status=$?
[ "$status" -eq 0 ] || { echo "cross-check: exit status $status"; cat errors.txt; exit 1; }
diff -u "$cases/cross-check-hand-worked/expected-files/verdicts.csv" "raporty żółte/werdykty.csv"
[ -f "raporty żółte/SP1AAA.txt" ] || { echo "no report in raporty żółte:"; ls "raporty żółte"; exit 1; }
# The site's pages and files, the same as the golden site's.
for page in index.html entrants/SP1AAA.html entrants/DL1DDD.html entrants/SP1AAA.csv \
  results/ALL.html results/RECEIVED.html results.csv; do
  sed 's|zawody łódzkie[/\\]|logs/|g' "strona wyników/$page" |
    diff -u "$cases/cross-check-hand-worked/expected-files/site/$page" - ||
    { echo "the site's $page differs"; exit 1; }
done
echo "zeltra-score.exe: files and folders named in Polish letters read and written"

# A folder whose path is longer than Windows' 260 characters is listed as
# itself, never as the working folder.
long="$(printf 'folder-of-logs-%s/' 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18)logs"
mkdir -p "$long"
cp "wyniki łódzkie/pierwszy.adi" "$long/"
status=0
wine zeltra-score.exe --cty "kraje ąęś/cty.dat" --format csv "$long" > output.txt 2> errors.txt || status=$?
[ "$status" -eq 0 ] && grep -q 'logs.pierwszy.adi' output.txt && ! grep -q 'cty.dat\|expected.txt' output.txt errors.txt || {
  echo "a long folder path: exit status $status"; cat output.txt errors.txt; exit 1; }
echo "zeltra-score.exe: a folder of a path over 260 characters listed"
