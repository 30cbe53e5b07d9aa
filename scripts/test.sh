#!/bin/bash
# Installs what is missing, builds, and runs the whole test suite. Window tests run inside their
# own Xvfb server, sound tests on OpenAL's null or wave backend; nothing needs a real display or
# sound card. Ends with CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
export SDL_VIDEODRIVER=x11 ALSOFT_DRIVERS=null MESA_SHADER_CACHE_DISABLE=true
cd "$root/build"
ctest -j"$(nproc)" --output-on-failure --timeout 300
