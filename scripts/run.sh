#!/usr/bin/env bash
# Sets everything up, builds, and starts CorvexZR.
#   scripts/run.sh                 the demo program: CorvexZR with a simulated analyzer (no hardware needed)
#   scripts/run.sh --analyzer      CorvexZR with a real analyzer on USB
#   scripts/run.sh zrqtool ARGS    the command-line tool
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh

case "${1:-}" in
  zrqtool) shift; exec build/bin/zrqtool "$@" ;;
  --analyzer) program=build/bin/corvexzr ;;
  "") program=build/bin/corvexzr-demo ;;
  *) echo "run.sh: unknown argument $1 (see the comment at the top of scripts/run.sh)" >&2; exit 2 ;;
esac

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display; start it from a desktop session (or: xvfb-run $program)" >&2
  exit 1
fi
exec "$program"
