#!/bin/sh
# End to end: the reference host, laid out as a logging program's folder,
# replays contacts.csv against a fresh SQLite log under Wine; its answers
# must be those of expected.txt. Usage: run-reference-host.sh BIN_DIR
set -e
here="$(cd "$(dirname "$0")" && pwd)"
bin="$1"
folder="$bin/../reference-host-test"
rm -rf "$folder" && mkdir -p "$folder/Plugins"
cp "$bin/host.exe" "$folder/"
cp "$bin/Zeltra.dll" "$here/Zeltra.txt" "$folder/Plugins/"
cp "$here/contacts.csv" "$folder/"
cd "$folder"
wine host.exe --log fresh.db --script contacts.csv > output.txt 2> errors.txt || {
  cat output.txt errors.txt; exit 1; }
tr -d '\r' < output.txt | grep -v '^Log: ' > answers.txt
grep -v '^#' "$here/expected.txt" > expected.txt
diff -u expected.txt answers.txt
echo "reference host: every answer as expected"
