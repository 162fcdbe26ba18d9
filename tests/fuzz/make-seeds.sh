#!/usr/bin/env bash
# Remakes the seed corpus of the fuzz targets from records that zrqtool simulates.
set -euo pipefail
cd "$(dirname "$0")/../.."
tool=build/bin/zrqtool
out=tests/fuzz/corpus/record
mkdir -p "$out"
"$tool" simulate "$out/seven-loads-bte.zrq" --seed 1 >/dev/null
"$tool" simulate "$out/two-loads-mds.zrq" --loads 25,175 --waveform mds --energy 360 --seed 2 >/dev/null
"$tool" simulate "$out/one-load-rlb.zrq" --loads 100 --waveform rlb --energy 5 --seed 3 >/dev/null
head -c 72424 /dev/zero > "$out/empty.zrq"
head -c 100 /dev/zero > "$out/short.zrq"
