#!/usr/bin/env bash
# Sets everything up, builds, and starts CorvexZR's main job.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh
exec build/bin/zrqtool "$@"
