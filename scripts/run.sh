#!/usr/bin/env bash
# Sets everything up, builds, and starts CorvexZR's main job.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh
# Without arguments, show what the tool can do rather than fail with a usage error.
[ $# -gt 0 ] || set -- --help
exec build/bin/zrqtool "$@"
