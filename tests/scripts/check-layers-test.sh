#!/bin/sh
# scripts/check-layers.sh on a small tree of its own: includes downwards,
# within a folder and into a lower group pass; one upwards, one between the
# two programs (side by side on one floor), one from the library into a
# program and one between the DLL and the library each fail and are named.
# Usage: check-layers-test.sh CHECK_LAYERS_SCRIPT
set -u
script="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for folder in core/text core/scoring win32/ui win32/plugin organiser/reading organiser/site \
              tools/options tools/score tools/robot; do
  mkdir -p "$work/src/$folder"
done
cat > "$work/README.md" <<'MD'
| folder | floor | what |
|---|---|---|
| `src/core` | 1 | the core |
| `src/core/text` | 1 | text |
| `src/core/scoring` | 2 | scoring |
| `src/win32` | 2 | the DLL |
| `src/win32/ui` | 1 | windows |
| `src/win32/plugin` | 2 | exports |
| `src/organiser` | 2 | the library |
| `src/organiser/reading` | 1 | reading |
| `src/organiser/site` | 2 | the site |
| `src/tools` | 3 | the programs |
| `src/tools/options` | 1 | shared options |
| `src/tools/score` | 2 | one program |
| `src/tools/robot` | 2 | the other |
MD
printf '#pragma once\n' > "$work/src/core/text/Ascii.h"
printf '#include "core/text/Ascii.h"\n#include <string>\n' > "$work/src/core/scoring/Scorer.h"
printf '#include "core/scoring/Scorer.h"\n#include "win32/ui/Window.h"\n' > "$work/src/win32/plugin/Exports.cpp"
printf '#include "win32/ui/Other.h"\n' > "$work/src/win32/ui/Window.h"
printf '#include "core/scoring/Scorer.h"\n' > "$work/src/organiser/reading/LogInput.h"
printf '#include "organiser/reading/LogInput.h"\n' > "$work/src/organiser/site/Page.h"
printf '#include "organiser/site/Page.h"\n#include "tools/options/Time.h"\n' > "$work/src/tools/score/Run.cpp"
printf '#include "organiser/site/Page.h"\n#include "tools/options/Time.h"\n' > "$work/src/tools/robot/Server.cpp"
printf '#include "core/text/Ascii.h"\n' > "$work/src/tools/options/Time.h"
failures=0
if ! bash "$script" "$work" > "$work/out" 2>&1; then
  echo "FAIL: a tree whose includes all run downwards was refused:"; cat "$work/out"; failures=1
fi
printf '#pragma once\n#include "core/scoring/Scorer.h"\n' > "$work/src/core/text/Ascii.h"
printf '#include "win32/plugin/Exports.h"\n' >> "$work/src/win32/ui/Window.h"
printf '#include "tools/score/Run.h"\n' >> "$work/src/tools/robot/Server.cpp"
printf '#include "tools/robot/Server.h"\n' >> "$work/src/organiser/site/Page.h"
printf '#include "win32/ui/Window.h"\n' >> "$work/src/organiser/reading/LogInput.h"
if bash "$script" "$work" > "$work/out" 2>&1; then
  echo "FAIL: includes that run upwards or sideways passed:"; cat "$work/out"; failures=1
fi
for expected in 'src/core/text/Ascii.h:2: includes "core/scoring/Scorer.h": src/core/scoring (floor 2) stands above src/core/text (floor 1)' \
                'src/win32/ui/Window.h:2: includes "win32/plugin/Exports.h"' \
                'src/tools/robot/Server.cpp:3: includes "tools/score/Run.h": src/tools/score stands beside src/tools/robot (floor 2)' \
                'src/organiser/site/Page.h:2: includes "tools/robot/Server.h": src/tools/robot (floor 3) stands above src/organiser/site (floor 2)' \
                'src/organiser/reading/LogInput.h:2: includes "win32/ui/Window.h": src/win32/ui stands beside src/organiser/reading (floor 2)' \
                '5 include(s) not running downwards'; do
  grep -qF "$expected" "$work/out" || { echo "FAIL: no \"$expected\" in:"; cat "$work/out"; failures=1; }
done
# A folder of src without a floor is refused: the check would not know it.
sed -i 's/| `src\/tools\/robot` | 2 |/| `src\/tools\/robot` | |/' "$work/README.md"
if bash "$script" "$work" > "$work/out" 2>&1 || ! grep -qF 'src/tools/robot has no floor' "$work/out"; then
  echo "FAIL: a folder without a floor was taken:"; cat "$work/out"; failures=1
fi
[ "$failures" -eq 0 ] && echo "check-layers: upward and sideways includes found, the rest passed"
exit "$failures"
