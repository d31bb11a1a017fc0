#!/bin/sh
# scripts/check-layers.sh on a small tree of its own: an include downwards or
# within a layer passes, one upwards fails and is named, and a folder with
# folders of its own listed below it is a group, not a layer.
# Usage: check-layers-test.sh CHECK_LAYERS_SCRIPT
set -u
script="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/core/text" "$work/src/core/scoring" "$work/src/win32/ui" "$work/src/win32/plugin"
cat > "$work/README.md" <<'MD'
| folder | what |
|---|---|
| `src/core` | the core |
| `src/core/text` | text |
| `src/core/scoring` | scoring |
| `src/win32` | the DLL |
| `src/win32/ui` | windows |
| `src/win32/plugin` | exports |
MD
printf '#include "core/text/Ascii.h"\n#include <string>\n' > "$work/src/core/scoring/Scorer.h"
printf '#pragma once\n' > "$work/src/core/text/Ascii.h"
printf '#include "core/scoring/Scorer.h"\n#include "win32/ui/Window.h"\n' > "$work/src/win32/plugin/Exports.cpp"
printf '#include "win32/ui/Other.h"\n' > "$work/src/win32/ui/Window.h"
failures=0
if ! bash "$script" "$work" > "$work/out" 2>&1; then
  echo "FAIL: a tree without an upward include was refused:"; cat "$work/out"; failures=1
fi
printf '#pragma once\n#include "core/scoring/Scorer.h"\n' > "$work/src/core/text/Ascii.h"
printf '#include "win32/plugin/Exports.h"\n' >> "$work/src/win32/ui/Window.h"
if bash "$script" "$work" > "$work/out" 2>&1; then
  echo "FAIL: upward includes passed:"; cat "$work/out"; failures=1
fi
for expected in 'src/core/text/Ascii.h:2: includes "core/scoring/Scorer.h"' \
                'src/win32/ui/Window.h:2: includes "win32/plugin/Exports.h"' \
                '2 upward include(s)'; do
  grep -qF "$expected" "$work/out" || { echo "FAIL: no \"$expected\" in:"; cat "$work/out"; failures=1; }
done
[ "$failures" -eq 0 ] && echo "check-layers: upward includes found, the rest passed"
exit "$failures"
