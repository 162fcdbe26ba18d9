#!/usr/bin/env bash
# Configures and builds CorvexZR into build/ (or the folder given with --dir).
# --sanitize builds with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
sanitize=OFF
while [ $# -gt 0 ]; do
  case "$1" in
    --dir) dir="$2"; shift 2 ;;
    --sanitize) sanitize=ON; shift ;;
    *) echo "build.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

cmake -S . -B "$dir" -G Ninja -DCORVEX_SANITIZE="$sanitize" -DCORVEX_WERROR=ON >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
