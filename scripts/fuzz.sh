#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ (AddressSanitizer and UndefinedBehaviorSanitizer
# in every library) and runs each for its share of a time budget, about three minutes in all, on a
# copy of its seed corpus: the repository's corpus is never changed. Fails when a target finds a
# crash, a sanitizer report, a failed check, an input that takes more than 10 s, or runs out of
# memory; the input that did it is kept in build-fuzz/findings/TARGET/ (run it again with
# build-fuzz/bin/TARGET_fuzz FILE).
#   CORVEX_FUZZ_SCALE=2 scripts/fuzz.sh     every budget twice as long (0.1 for a quick check)
set -euo pipefail
cd "$(dirname "$0")/.."

# Target and seconds at scale 1.
budgets=(record:60 reply:60 ini:30 axistext:30 profile:30)
scale="${CORVEX_FUZZ_SCALE:-1}"
dir=build-fuzz

scripts/setup.sh
start=$(date +%s)
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCORVEX_FUZZ=ON -DCORVEX_WERROR=ON -DCORVEX_BUILD_TESTS=OFF \
  -DCORVEX_BUILD_BENCHMARKS=OFF >/dev/null
targets=()
for entry in "${budgets[@]}"; do targets+=("${entry%%:*}_fuzz"); done
cmake --build "$dir" --parallel "$(nproc)" --target "${targets[@]}"
echo "fuzz: built in $(($(date +%s) - start)) s"

# The settings target writes a file on every run: in memory when possible.
base=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/corvex-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR"
# A smaller quarantine than the default 256 MB keeps the memory of a long run down.
export ASAN_OPTIONS="quarantine_size_mb=64:detect_leaks=1:suppressions=$PWD/tests/sanitizer/lsan.supp"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"

failed=()
for entry in "${budgets[@]}"; do
  name=${entry%%:*}
  seconds=$(awk -v s="${entry##*:}" -v f="$scale" 'BEGIN { t = int(s * f + 0.5); print (t < 1 ? 1 : t) }')
  corpus="$work/$name/corpus"
  artifacts="$work/$name/artifacts"
  log="$work/$name.log"
  mkdir -p "$corpus" "$artifacts"
  cp tests/fuzz/corpus/"$name"/* "$corpus"/
  seeds=$(find "$corpus" -type f | wc -l)

  status=0
  "$dir/bin/${name}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus" >"$log" 2>&1 || status=$?

  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log")
  echo "fuzz: $name: ${runs:-?} runs in $seconds s (${speed:-?}/s), corpus $seeds -> $(find "$corpus" -type f | wc -l) inputs, peak ${rss:-?} MB"

  if [ "$status" -ne 0 ] || [ -n "$(ls -A "$artifacts")" ]; then
    failed+=("$name")
    mkdir -p "$dir/findings/$name"
    cp "$artifacts"/* "$dir/findings/$name/" 2>/dev/null || true
    echo "fuzz: $name FAILED (exit status $status); inputs kept in $dir/findings/$name/; end of its log:" >&2
    grep -m1 '^INFO: Seed:' "$log" >&2 || true
    tail -n 60 "$log" >&2
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: findings in ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: no findings"
