#!/usr/bin/env bash
# Remakes docs/screenshots/*.png: builds what it needs, makes a seven-load record with zrqtool
# simulate, and photographs every window under a virtual X server (Xvfb), with openbox drawing the
# window frames when it is installed (apt-get install openbox). Settings go to a temporary folder.
# Then draws the first page of that record's PDF service report into docs/pdf-report-page1.png
# (pdftoppm, from poppler-utils).
#   tools/screenshots/make-screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
cmake --build "$build" --target screenshots zrqtool
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
LC_ALL=C.UTF-8 "$build/bin/zrqtool" simulate "$work/seven-loads.zrq" --seed 7 >/dev/null
cat >"$work/run.sh" <<INNER
#!/usr/bin/env bash
if command -v openbox >/dev/null; then openbox & sleep 1; fi
"$build/bin/screenshots" "$work/seven-loads.zrq" docs/screenshots
INNER
LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" bash "$work/run.sh"

XDG_CONFIG_HOME="$work/config" LC_ALL=C.UTF-8 "$build/bin/zrqtool" pdf "$work/seven-loads.zrq" "$work/report.pdf" \
  --profile "CorvexZR Simulator, biphasic truncated exponential" --energy 200
pdftoppm -r 80 -f 1 -l 1 -png -singlefile "$work/report.pdf" docs/pdf-report-page1
