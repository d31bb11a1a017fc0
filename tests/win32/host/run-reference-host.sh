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

# The same host installed where a Polish organiser installs it: a folder and
# a program named with Polish letters. The plug-in finds its prefill list
# there (the answers above, "prefill K" among them), and its settings file,
# named after the program, is read back and written again: a window placed
# by hand in it is where the next run leaves it.
export LC_ALL=C.UTF-8
polish="$bin/../Dzienniki Łódź"
rm -rf "$polish" && mkdir -p "$polish/Plugins"
cp "$bin/host.exe" "$polish/dziennik-żółw.exe"
cp "$bin/Zeltra.dll" "$here/Zeltra.txt" "$polish/Plugins/"
cp "$here/contacts.csv" "$polish/"
cd "$polish"
settings="$(winepath -u 'C:\users' 2>/dev/null)/$(whoami)/AppData/Roaming/Zeltra/dziennik-żółw.ini"
rm -f "$settings"
run() {
  rm -f fresh.db
  wine "dziennik-żółw.exe" --log fresh.db --script contacts.csv > output.txt 2> errors.txt || {
    cat output.txt errors.txt; exit 1; }
  tr -d '\r' < output.txt | grep -v '^Log: ' | diff -u "$folder/expected.txt" -
}
run
[ -f "$settings" ] || { echo "no settings file $settings"; exit 1; }
grep -q '^NormPos=' "$settings" || { echo "no placement in:"; cat "$settings"; exit 1; }
# The statistics window moved by hand to 200,300, its size kept.
placement() {  # the statistics window's stored placement
  tr -d '\r' < "$1" | awk '/^\[TfmMainForm\]/ { main = 1; next } /^\[/ { main = 0 } main && /Pos/'
}
tr -d '\r' < "$settings" | awk -F'[=,]' '/^\[TfmMainForm\]/ { main = 1 } /^\[/ && !/TfmMainForm/ { main = 0 }
  main && /^NormPos/ { printf "%s=%d,%d,%d,%d\n", $1, 200, 300, 200 + $4 - $2, 300 + $5 - $3; next }
  { print }' > placed.ini
cp placed.ini "$settings"
run
placement placed.ini > expected-placement.txt
placement "$settings" | diff -u expected-placement.txt -
grep -q 'NormPos=200,300,' expected-placement.txt || { echo "nothing placed by hand"; exit 1; }
echo "reference host: in a folder and under a name in Polish letters, the same answers and settings kept"
