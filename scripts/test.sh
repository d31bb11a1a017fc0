#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively (with
# AddressSanitizer and UndefinedBehaviorSanitizer), the threads' work under
# ThreadSanitizer, a short fuzzing of each log reader, then Zeltra.dll and
# the Win32 tests under Wine; the results site is opened in headless
# Chromium on the way, and the organiser's Debian package is made and tried.
# Installs what it needs first (Debian's packages, and
# the browser tests' npm packages).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "== npm: the browser tests' packages, as the lock file pins them"
npm ci --prefix tests/tools/score/site --no-audit --no-fund

echo "== native: portable core"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== deb: the organiser's Debian package, unpacked and tried"
scripts/package.sh

echo "== tsan: the work shared among threads"
scripts/tsan.sh

echo "== fuzzing: each reader of files that strangers send, briefly"
scripts/fuzz.sh 15

echo "== win32: Zeltra.dll under Wine"
cmake --preset win32 >/dev/null
cmake --build --preset win32
# Zeltra.dll is a 32-bit program, and so is the Wine that loads it: a
# machine whose kernel refuses i386 programs (some virtual machines) builds
# and checks the DLL's exports and imports above, but cannot run it.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  echo "win32: the Wine tests NOT RUN: this machine's kernel does not run 32-bit (i386)" \
    "programs (the DLL and zeltra-score.exe are built and their exports and imports checked)"
  exit 0
fi
source scripts/wine-env.sh build/win32
run_with_wine ctest --preset win32
