#!/bin/sh
# Builds the release zip and checks that it holds exactly the files the
# operator's README lists under "What is in the zip".
# Usage: check-release-zip.sh BUILD_DIR README
set -e
build="$1"
readme="$(realpath "$2")"
cd "$build"
cpack -G ZIP > cpack.log 2>&1 || { cat cpack.log; exit 1; }
zip="$(ls Zeltra-*-win32.zip)"
cmake -E tar tf "$zip" | sed 's|^[^/]*/||' | grep -v '/$' | grep -v '^$' | sort > zip-contents.txt
sed -n '/^What is in the zip/,/^$/p' "$readme" | tail -n +2 | awk 'NF {print $1}' | sort > readme-contents.txt
diff -u readme-contents.txt zip-contents.txt
echo "release zip: $(wc -l < zip-contents.txt) files, as the README lists"

# The country file in the zip is Debian's, of the version the README names,
# and zeltra-score.exe unpacked anywhere uses it without being told.
unpacked="$(pwd)/release-zip-test"
rm -rf "$unpacked" && mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "../$zip")
program="$(ls -d "$unpacked"/Zeltra-*-win32)"
cmp "$program/cty.dat" /usr/share/hamradio-files/cty.dat
version="$(dpkg-query -W -f='${Version}' hamradio-files)"
tr '\n' ' ' < "$readme" | tr -s ' ' | grep -q "hamradio-files package ships, version $version:" || {
  echo "README.txt does not name hamradio-files version $version, the one in the zip"; exit 1; }
printf '%s' '<CALL:6>DL1ABC<BAND:3>20m<MODE:4>RTTY<RST_RCVD:3>599<EOR>' > "$unpacked/log.adi"
printf '%s' '<CALL:5>JA1XX<BAND:3>15m<MODE:4>RTTY<RST_RCVD:3>599<EOR>' >> "$unpacked/log.adi"
cd "$unpacked"
wine "$program/zeltra-score.exe" --my-call SP5XYZ log.adi > by-default.txt 2> errors.txt || {
  echo "the unpacked zeltra-score.exe without --cty: exit status $?"; cat errors.txt; exit 1; }
wine "$program/zeltra-score.exe" --my-call SP5XYZ --cty "$program/cty.dat" log.adi > named.txt
diff -u named.txt by-default.txt
grep -q 'Score: 15\*(0+2+2)=60' by-default.txt || { echo "not scored by the country file:"; cat by-default.txt; exit 1; }
echo "release zip: its cty.dat (hamradio-files $version) serves zeltra-score.exe by default"
