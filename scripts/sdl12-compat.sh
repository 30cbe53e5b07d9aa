#!/bin/bash
# Builds the game against the SDL 1.2 compatibility layer over SDL 2 (sdl12-compat, what newer
# Debian and Ubuntu releases ship instead of the classic library) and plays a short round with it
# under Xvfb (scripts/game_session.py --round).
#
#   scripts/sdl12-compat.sh [--private] [BUILD_DIR]      (default BUILD_DIR: build-compat)
#
# By default apt installs the compatibility packages in place of the classic ones. As root, where
# the kernel allows it, that happens in a private mount namespace over overlays of /usr, /etc and
# the package state, so the rest of the machine never sees the swap and nothing needs undoing.
# Otherwise (needs root or sudo) the swap is made on the machine itself and the classic packages
# are put back afterwards, whatever happens; nothing else may build or run against SDL meanwhile.
# --private installs nothing: the compatibility packages are downloaded and unpacked into a
# scratch folder, the game is built against their headers and run with their libraries.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
private=0
if [ "${1:-}" = --private ]; then private=1; shift; fi
build=$(realpath -m "${1:-$root/build-compat}")
"$root/scripts/deps.sh"

# The folders that installing packages changes.
OVERLAID=(usr etc var/lib/dpkg var/lib/apt var/cache/apt var/cache/debconf var/log)
isolation_works() {
  [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null || return 1
  local t; t=$(mktemp -d)
  mkdir -p "$t/lower" "$t/upper" "$t/work" "$t/mnt"
  unshare -m mount -t overlay overlay -o "lowerdir=$t/lower,upperdir=$t/upper,workdir=$t/work" \
    "$t/mnt" 2>/dev/null
  local ok=$?
  rm -rf "$t"
  return $ok
}
if [ "$private" = 0 ] && [ -z "${SDL12_COMPAT_ISOLATED:-}" ] && isolation_works; then
  echo "== swapping the SDL 1.2 packages in a private mount namespace"
  exec unshare -m env SDL12_COMPAT_ISOLATED=1 "$0" "$build"
fi

scratch=$(mktemp -d)
if [ -n "${SDL12_COMPAT_ISOLATED:-}" ]; then
  for d in "${OVERLAID[@]}"; do
    [ -d "/$d" ] || continue
    mkdir -p "$scratch/overlay/$d/upper" "$scratch/overlay/$d/work"
    mount -t overlay overlay \
      -o "lowerdir=/$d,upperdir=$scratch/overlay/$d/upper,workdir=$scratch/overlay/$d/work" "/$d"
  done
fi

SUDO=()
[ "$(id -u)" -eq 0 ] || SUDO=(sudo)
apt_install() {
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

restore() {
  status=$?
  if [ "$private" = 0 ] && [ -z "${SDL12_COMPAT_ISOLATED:-}" ]; then
    echo "== putting the classic SDL 1.2 back"
    apt_install libsdl1.2-dev libsdl1.2debian || { echo "error: could not reinstall the classic SDL 1.2" >&2; status=1; }
  fi
  if [ -n "${SDL12_COMPAT_ISOLATED:-}" ]; then
    for d in "${OVERLAID[@]}"; do umount -l "/$d" 2>/dev/null || true; done
  fi
  rm -rf "$scratch"
  exit $status
}
trap restore EXIT

cmake_args=()
run_env=()
if [ "$private" = 1 ]; then
  echo "== unpacking sdl12-compat into $scratch"
  # What installing libsdl1.2-compat-dev would add (apt's simulation lists it), downloaded only.
  mapfile -t pkgs < <(apt-get install -s --no-install-recommends libsdl1.2-compat-dev 2>/dev/null |
                      awk '/^Inst /{print $2}')
  (cd "$scratch" && apt-get download "${pkgs[@]}" >/dev/null 2>&1)
  for deb in "$scratch"/*.deb; do dpkg -x "$deb" "$scratch/root"; done
  libdir=$scratch/root/usr/lib/$(gcc -print-multiarch)
  cmake_args=(-DSDL_INCLUDE_DIR="$scratch/root/usr/include/SDL" -DSDL_LIBRARY_TEMP="$libdir/libSDL.so")
  run_env=(LD_LIBRARY_PATH="$libdir")
else
  echo "== installing sdl12-compat in place of the classic SDL 1.2"
  apt_install libsdl1.2-compat-dev
fi
dpkg-query -W -f='${db:Status-Abbrev} ${Package} ${Version}\n' 'libsdl1.2*' 2>/dev/null | awk '$1 == "ii" {print $2, $3}'

echo "== building against it ($build)"
rm -rf "$build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMO_TESTS=OFF \
  -DLUMO_BENCH=OFF "${cmake_args[@]}" >/dev/null
cmake --build "$build" -j2 --target pimwarden
program=$build/game/src/pimwarden
sdl=$(env "${run_env[@]}" ldd "$program" | awk '$1 == "libSDL-1.2.so.0" {print $3}')
echo "libSDL-1.2.so.0 => $(readlink -f "$sdl")"
[[ $(readlink -f "$sdl") == */sdl12-compat/* ]] || { echo "error: the program does not load sdl12-compat" >&2; exit 1; }

echo "== playing a round"
env "${run_env[@]}" SDL_VIDEODRIVER=x11 ALSOFT_DRIVERS=null MESA_SHADER_CACHE_DISABLE=true \
  "$root/scripts/with-xvfb.sh" /usr/bin/python3 "$root/scripts/game_session.py" --round \
  "$program" "$root/game/data/images/greatPim.png" "$build/round.log"
echo "sdl12-compat run OK"
