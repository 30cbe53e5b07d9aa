#!/bin/bash
# Builds with ThreadSanitizer the sound tests (the music manager streams on a thread of its own)
# and the logging and message-stack tests (both are used from the music thread too; the tests
# use them from several threads at once), and runs them. Any report of a data race fails the
# run.
#   scripts/tsan.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build-tsan}
"$root/scripts/deps.sh"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMO_TSAN=ON \
  -DLUMO_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target audio_tests debug_tests
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/scripts/tsan.supp ${TSAN_OPTIONS:-}"
ctest --test-dir "$dir" -R '^(audio|debug)_tests\.' -j"$(nproc)" --output-on-failure --timeout 300
