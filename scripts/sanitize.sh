#!/bin/bash
# Builds the tests with AddressSanitizer + UndefinedBehaviorSanitizer (no recovery) and runs them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DLUMO_SANITIZE=ON \
  -DLUMO_BENCH=OFF
export SDL_VIDEODRIVER=x11 ALSOFT_DRIVERS=null MESA_SHADER_CACHE_DISABLE=true LUMO_ASAN=1
cd "$root/build-asan"
ctest -j"$(nproc)" --output-on-failure --timeout 600
