#!/usr/bin/env bash
# Fails when a source, help page, script or document still holds the markers of an unresolved merge.
set -euo pipefail
root=${1:-$(dirname "$0")/..}
found=$(grep -rnE '^(<<<<<<<|>>>>>>>) |^=======$' "$root" \
  --include='*.cpp' --include='*.h' --include='*.html' --include='*.md' --include='*.sh' \
  --include='*.txt' --include='*.cmake' --include='*.json' --include='*.xml*' --include='*.1' \
  --include='*.desktop' --include='*.qrc' --include='*.ini' \
  --exclude-dir='build*' --exclude-dir='.git' || true)
if [ -n "$found" ]; then
  echo "$found"
  echo "check-merge-markers: an unresolved merge is left in the lines above" >&2
  exit 1
fi
