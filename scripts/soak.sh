#!/bin/bash
# The soak: pimwarden built with AddressSanitizer + UndefinedBehaviorSanitizer, played under its
# own Xvfb by a scripted random player (game/tests/soak/soak.py) for a number of rounds in one
# process. Fails on a crash, any sanitizer report (leaks at exit included), a screen that does
# not come, or resident memory that keeps growing after the first rounds.
#   scripts/soak.sh [rounds] [seed]          (default 50 rounds, a random seed)
# The build directory is build-asan (the one scripts/sanitize.sh makes; only the program is
# built here), or $SOAK_BUILD_DIR, which must be configured with -DLUMO_SANITIZE=ON.
# Screenshots and the program's log go to <build>/soak/.
# The game keeps its table in ~/.pimwarden/highscores.xml: the soak runs in a mount namespace
# of its own with an empty directory mounted there, so the real file is never touched; where
# that is not allowed (not root), the file is copied aside and put back afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-50}
seed=${2:-}
dir=${SOAK_BUILD_DIR:-$root/build-asan}
out=$dir/soak
home=$(getent passwd "$(id -u)" | cut -d: -f6)
scores_dir=$home/.pimwarden

if [[ ${SOAK_INNER:-} != 1 ]]; then
  "$root/scripts/deps.sh"
  # A new build directory gets the configuration of scripts/sanitize.sh, so that CI builds
  # nothing twice; an existing one must be a sanitizer build.
  if [[ ! -f $dir/CMakeCache.txt ]]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMO_SANITIZE=ON \
      -DLUMO_BENCH=OFF >/dev/null
  fi
  grep -q '^LUMO_SANITIZE:BOOL=ON' "$dir/CMakeCache.txt" ||
    { echo "soak: $dir is not a sanitizer build (-DLUMO_SANITIZE=ON)" >&2; exit 2; }
  cmake --build "$dir" -j2 --target pimwarden
  rm -rf "$out"
  mkdir -p "$out/home"
  made_dir=0
  [[ -d $scores_dir ]] || { mkdir -p "$scores_dir"; made_dir=1; }
  if SOAK_INNER=1 unshare -m true 2>/dev/null; then
    set +e
    SOAK_INNER=1 unshare -m "$0" "$rounds" "$seed"
    status=$?
    set -e
    [[ $made_dir == 1 ]] && rmdir "$scores_dir" 2>/dev/null
    exit $status
  fi
  echo "soak: no mount namespace here; the high-score file is kept aside and put back"
  keep=$out/kept-highscores.xml
  had=0
  [[ -f $scores_dir/highscores.xml ]] && { cp -p "$scores_dir/highscores.xml" "$keep"; had=1; }
  restore() {
    if [[ $had == 1 ]]; then
      cp -p "$keep" "$scores_dir/highscores.xml"
    else
      rm -f "$scores_dir/highscores.xml" "$scores_dir"/highscores.xml.*
      [[ $made_dir == 1 ]] && rmdir "$scores_dir" 2>/dev/null
    fi
    return 0
  }
  trap restore EXIT
  rm -f "$scores_dir/highscores.xml"
  SOAK_INNER=2 "$0" "$rounds" "$seed"
  exit $?
fi

if [[ ${SOAK_INNER} == 1 ]]; then
  # Private to this namespace: the real directory is hidden under the empty one.
  mount --make-rprivate / 2>/dev/null || true
  mount --bind "$out/home" "$scores_dir"
fi

export SDL_VIDEODRIVER=x11 ALSOFT_DRIVERS=null MESA_SHADER_CACHE_DISABLE=true LUMO_ASAN=1
# A small quarantine, so that the sanitizer's own memory settles within the first rounds and
# the resident size shows what the program keeps.
export ASAN_OPTIONS=quarantine_size_mb=16:detect_leaks=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export PYTHONPATH=$root/game/tests/game
exec "$root/scripts/with-xvfb.sh" /usr/bin/python3 "$root/game/tests/soak/soak.py" \
  "$dir/game/src/pimwarden" "$out" "$rounds" ${seed:+"$seed"}
