#!/usr/bin/env bash
# Sets everything up, builds and runs the whole test suite.
# --sanitize does the same in build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
if [ "${1:-}" = "--sanitize" ]; then
  scripts/build.sh --dir build-asan --sanitize
  export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:suppressions=$PWD/tests/sanitizer/lsan.supp"
  export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
  ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)" --label-exclude e2e
  # The end-to-end test runs in real time, at the wire's speed: alone, so that the other tests do not
  # take its processor.
  ctest --test-dir build-asan --output-on-failure --label-regex e2e
else
  scripts/build.sh
  ctest --test-dir build --output-on-failure --parallel "$(nproc)"
fi
