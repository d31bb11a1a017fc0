#!/bin/sh
# The same SQLite log, reloaded by Zeltra.dll under Wine through the
# reference host and scored by the native zeltra-score through ODBC, gives
# the identical table and score line.
# Usage: score-matches-reload.sh BIN_DIR NATIVE_ZELTRA_SCORE SAMPLE_CSV
set -e
bin="$1"
score="$2"
sample="$3"
[ -x "$score" ] || { echo "no native zeltra-score at $score: build the native preset first"; exit 1; }
folder="$bin/../score-match-test"
rm -rf "$folder" && mkdir -p "$folder/Plugins"
cp "$bin/host.exe" "$folder/"
cp "$bin/Zeltra.dll" "$folder/Plugins/"
cp "$sample" "$folder/sample.csv"
head -1 "$sample" > "$folder/none.csv"
cd "$folder"
wine host.exe --log match.db --sample sample.csv --script none.csv --print-table yes \
  > output.txt 2> errors.txt || { cat output.txt errors.txt; exit 1; }
# The table as CSV, rows without data ending at their band.
tr -d '\r' < output.txt | sed -n 's/^TABLE //p' | sed 's/,*$//' > plugin-table.txt
tr -d '\r' < output.txt | sed -n 's/^After the reload: //p' > plugin-score.txt
"$score" --odbc "DRIVER=SQLite3;Database=$PWD/match.db" --table QSO --my-continent EU \
  --my-dxcc SP > score.txt
# The text table's columns joined by commas: a row with data has them all.
head -8 score.txt | awk '{ $1 = $1; gsub(/ /, ","); print }' > score-table.txt
sed -n 's/^Score: /Score: /p' score.txt > score-score.txt
diff -u plugin-table.txt score-table.txt
diff -u plugin-score.txt score-score.txt
echo "zeltra-score and Zeltra.dll agree: $(cat score-score.txt)"
