#!/usr/bin/env bash
# Remakes the seed corpus of the fuzz targets in tests/fuzz/corpus/. Without arguments every corpus;
# otherwise the ones named (record, reply, ini, axistext, profile).
#   record    records that zrqtool simulates (needs build/bin/zrqtool: scripts/build.sh)
#   reply     written by the reply target itself (needs build-fuzz/bin/reply_fuzz: scripts/fuzz.sh)
#   ini       settings files: the four lines of section, key, value and a whole-number text, then the file
#   axistext  a locale byte (0 C, 1 German, 2 French, 3 Arabic), a double's eight bytes (little-endian),
#             then the four texts of the axis dialog, one a line
#   profile   the shipped defibrillator profiles and a few refused ones
set -euo pipefail
cd "$(dirname "$0")/../.."
corpus=tests/fuzz/corpus

seed() { # folder name bytes (with \n, \r and \xHH escapes)
  mkdir -p "$corpus/$1"
  printf '%b' "$3" >"$corpus/$1/$2"
}

record() {
  local tool=build/bin/zrqtool out=$corpus/record
  rm -rf "$out" && mkdir -p "$out"
  "$tool" simulate "$out/seven-loads-bte.zrq" --seed 1 >/dev/null
  "$tool" simulate "$out/two-loads-mds.zrq" --loads 25,175 --waveform mds --energy 360 --seed 2 >/dev/null
  "$tool" simulate "$out/one-load-rlb.zrq" --loads 100 --waveform rlb --energy 5 --seed 3 >/dev/null
  head -c 72424 /dev/zero >"$out/empty.zrq"
  head -c 100 /dev/zero >"$out/short.zrq"
}

reply() {
  rm -rf "$corpus/reply"
  CORVEX_REPLY_SEEDS="$corpus/reply" build-fuzz/bin/reply_fuzz
}

ini() {
  rm -rf "$corpus/ini"
  seed ini placement 'Main\nTOP\n120\n42\n[Main]\nTOP=10\nLEFT=20\n\n[Options]\nLOAD1=1\n'
  seed ini crlf 'Options\nLOAD3\n0\n -17 \n[Options]\r\nLOAD1=1\r\nLOAD2=0\r\n'
  seed ini new-section 'Viewer\nSHOWINFO\n1\n+2147483647\n[Main]\nTOP=1\n'
  # The key "3" takes the section and key of the file's fourth line.
  seed ini key-from-line 'x\n3\nnew value\n-2147483648\n; comment\n[Device Info]\nDeviceID=BME-1\nTechID = JD \n'
  seed ini empty-file 'S\nK\nV\n\n'
  seed ini odd-lines 'Main\nTOP\nline\rbreak\n2147483648\n[Main\nTOP=x\n[main]\ntop= 5\n\n\n[Other]\n'
}

axistext() {
  rm -rf "$corpus/axistext"
  # 58.36, -200, 1e20, 1e-5, 0.1 and 0 as the value to format.
  seed axistext c-default-view '\x00\xae\x47\xe1\x7a\x14\x2e\x4d\x400\n58.36\n-200\n200'
  seed axistext german-default-view '\x01\x00\x00\x00\x00\x00\x00\x69\xc00\n58,36\n-200\n200'
  seed axistext french-exponents '\x02\x40\x8c\xb5\x78\x1d\xaf\x15\x44 1E20 \n1e-5\n-1,5E+3\n,5'
  seed axistext arabic-separator '\x03\xf1\x68\xe3\x88\xb5\xf8\xe4\x3e1\xd9\xab5\n2\n-\n.'
  seed axistext c-not-larger-and-out-of-range '\x00\x9a\x99\x99\x99\x99\x99\xb9\x3f5\n5\n1e400\n1e-400'
  seed axistext german-invalid-and-long '\x01\x00\x00\x00\x00\x00\x00\x00\x001.234.567\n+.5e-3\n 12 \n12,345678901234567'
}

profile() {
  rm -rf "$corpus/profile" && mkdir -p "$corpus/profile"
  cp resources/profiles/*.json "$corpus/profile/"
  seed profile tolerance-only-percent '{ "name": "T", "tolerance": { "percent": 10 }, "settings": [ { "selected": 1.5, "declared": { "50": 1.5, "175": 2 } } ] }'
  seed profile setting-twice '{ "settings": [ { "selected": 200, "declared": {} }, { "selected": 200.0, "declared": {} } ] }'
  seed profile wrong-load '{ "settings": [ { "selected": 5, "declared": { "30": 5 } } ] }'
  seed profile huge-numbers '{ "tolerance": { "joules": 1e308 }, "settings": [ { "selected": 1e308, "declared": { "25": 1e-308, "50": 1e400 } } ] }'
  seed profile not-json '{ "settings": [ { "selected": 5, '
}

corpora=("$@")
[ $# -eq 0 ] && corpora=(record reply ini axistext profile)
for name in "${corpora[@]}"; do
  case "$name" in
    record | reply | ini | axistext | profile) "$name" ;;
    *) echo "make-seeds.sh: unknown corpus $name" >&2; exit 2 ;;
  esac
done
