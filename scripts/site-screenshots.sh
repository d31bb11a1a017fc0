#!/usr/bin/env bash
# The results site of a simulated contest, and a screenshot of its home page
# and of one entrant's page in Debian's headless Chromium: the pictures the
# README shows. Usage: scripts/site-screenshots.sh [output folder]
# (default docs/screenshots; the site itself goes to build/site-demo).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/screenshots}"
browser=/usr/lib/chromium/chromium-headless-shell

scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target zeltra-score make_score_logs >/dev/null

demo=build/site-demo
rm -rf "$demo"
mkdir -p "$demo/logs" "$out"
build/native/bench/make_score_logs contest "$demo/logs" 30 300
status=0
# One moment for every picture, so that they change only with the pages.
SOURCE_DATE_EPOCH=1796817600 build/native/src/tools/score/zeltra-score \
  --cty tests/tools/score/cases/cty.dat --quiet --cross-check "$demo/logs" --site "$demo/site" \
  --title "Zeltra RTTY Contest 2026" --status preliminary >/dev/null || status=$?
# 1: some simulated lines cannot be read, as in a real contest.
[ "$status" -le 1 ] || { echo "zeltra-score failed ($status)"; exit 1; }

entrant=$(grep -o 'href="entrants/[^"]*"' "$demo/site/index.html" | head -1 | sed 's/href="//; s/"$//')
shoot() {  # shoot PAGE PICTURE WIDTH HEIGHT
  "$browser" --no-sandbox --disable-gpu --hide-scrollbars --window-size="$3,$4" \
    --screenshot="$(realpath -m "$2")" "file://$(realpath "$1")" 2>/dev/null
}
shoot "$demo/site/index.html" "$out/results-index.png" 1100 1500
shoot "$demo/site/$entrant" "$out/results-entrant.png" 1100 2200
shoot "$demo/site/index.html" "$out/results-index-phone.png" 390 1200
# Fewer colours (ImageMagick's), the same picture to the eye: the pictures
# live in git.
for picture in "$out"/results-*.png; do convert "$picture" -colors 64 "PNG8:$picture"; done
echo "Site: $demo/site/index.html"
echo "Screenshots: $out/results-index.png $out/results-entrant.png $out/results-index-phone.png"
