#!/bin/bash
# Configures and builds into the given directory (default: build) with extra CMake arguments.
#   scripts/build.sh [build-dir] [cmake args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
shift || true
cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
