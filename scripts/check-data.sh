#!/bin/bash
# Rebuilds the game's data with every generator under tools/ into a temporary folder and fails
# when any result differs from what is committed (each generator's --check mode).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
status=0
for gen in "$root"/tools/make_*.py; do
  grep -q -- '--check' "$gen" || continue
  echo "== $(basename "$gen") --check"
  if ! /usr/bin/python3 "$gen" --check; then
    echo "error: $(basename "$gen"): the committed data differs from a fresh build" >&2
    status=1
  fi
done
exit $status
