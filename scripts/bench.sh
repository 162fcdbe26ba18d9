#!/usr/bin/env bash
# Builds and runs every benchmark: build/bin/corvex_bench (report, CSV, download loop, file load and
# save) and build/bin/corvex_bench_ui (waveform viewer, report viewer, PDF service report), each
# beside its baseline.
# Extra arguments go to both, e.g. --benchmark_filter=Save or --benchmark_repetitions=5.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
build/bin/corvex_bench --benchmark_min_time=0.5 "$@"
build/bin/corvex_bench_ui --benchmark_min_time=0.5 "$@" 2> >(grep -v propagateSizeHints >&2)
