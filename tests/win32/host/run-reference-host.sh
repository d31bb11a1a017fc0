#!/bin/sh
# End to end: the reference host, laid out as a logging program's folder,
# replays contacts.csv against a fresh SQLite log under Wine; its answers
# must be those of expected.txt. Then the same host installed where a Polish
# organiser installs it. Usage: run-reference-host.sh BIN_DIR
set -e
here="$(cd "$(dirname "$0")" && pwd)"
bin="$1"
export LC_ALL=C.UTF-8
expected="$bin/../reference-host-expected.txt"
grep -v '^#' "$here/expected.txt" > "$expected"

# install FOLDER PROGRAM: the host as PROGRAM in FOLDER, the plug-in and the
# prefill list in its Plugins folder, the contacts beside it.
install() {
  rm -rf "$1" && mkdir -p "$1/Plugins"
  cp "$bin/host.exe" "$1/$2"
  cp "$bin/Zeltra.dll" "$here/Zeltra.txt" "$1/Plugins/"
  cp "$here/contacts.csv" "$1/"
}

# replay FOLDER PROGRAM: the contacts against a fresh log, the answers as expected.
replay() {
  (cd "$1" && rm -f fresh.db &&
    wine "$2" --log fresh.db --script contacts.csv > output.txt 2> errors.txt) || {
    cat "$1/output.txt" "$1/errors.txt"; exit 1; }
  tr -d '\r' < "$1/output.txt" | grep -v '^Log: ' | diff -u "$expected" -
}

folder="$bin/../reference-host-test"
install "$folder" host.exe
replay "$folder" host.exe
echo "reference host: every answer as expected"

# A folder and a program named with Polish letters. The plug-in finds its
# prefill list there (the answers, "prefill K" among them), and its settings
# file, named after the program, is read back and written again: a window
# placed by hand in it is where the next run leaves it.
polish="$bin/../Dzienniki Łódź"
program="dziennik-żółw.exe"
install "$polish" "$program"
settings="$(winepath -u 'C:\users' 2>/dev/null)/$(whoami)/AppData/Roaming/Zeltra/dziennik-żółw.ini"
rm -f "$settings"
replay "$polish" "$program"
[ -f "$settings" ] || { echo "no settings file $settings"; exit 1; }
grep -q '^NormPos=' "$settings" || { echo "no placement in:"; cat "$settings"; exit 1; }
placement() {  # the statistics window's stored placement
  tr -d '\r' < "$1" | awk '/^\[TfmMainForm\]/ { main = 1; next } /^\[/ { main = 0 } main && /Pos/'
}
# The statistics window moved by hand to 200,300, its size kept.
placed="$polish/placed.ini"
tr -d '\r' < "$settings" | awk -F'[=,]' '/^\[TfmMainForm\]/ { main = 1 } /^\[/ && !/TfmMainForm/ { main = 0 }
  main && /^NormPos/ { printf "%s=%d,%d,%d,%d\n", $1, 200, 300, 200 + $4 - $2, 300 + $5 - $3; next }
  { print }' > "$placed"
cp "$placed" "$settings"
replay "$polish" "$program"
placement "$placed" > "$polish/expected-placement.txt"
placement "$settings" | diff -u "$polish/expected-placement.txt" -
grep -q 'NormPos=200,300,' "$polish/expected-placement.txt" || { echo "nothing placed by hand"; exit 1; }
echo "reference host: in a folder and under a name in Polish letters, the same answers and settings kept"
