#!/bin/bash
# Installs what is missing, builds, and starts the game.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [[ -z "${DISPLAY:-}" ]]; then
  cat >&2 <<MSG
error: no display. The program opens an OpenGL window and needs an X display (DISPLAY is not set).
Run it from a desktop session, or without one under a virtual X server:
  xvfb-run -a -s "-screen 0 1024x768x24 -noreset" $0
MSG
  exit 1
fi
exec "$root/build/game/src/pimwarden"
