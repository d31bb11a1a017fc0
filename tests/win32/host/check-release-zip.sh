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
