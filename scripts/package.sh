#!/bin/bash
# Builds the game's Debian package and checks it:
#   scripts/package.sh [BUILD_DIR]        (default: build-package)
# 1. builds the program made for installing (it finds its data relative to itself), the manual
#    page and the icons, and runs `cpack -G DEB` (prefix /usr);
# 2. checks the package's metadata and file list with dpkg-deb (and lintian when installed), and
#    that apt could install it here (a simulation: nothing is installed);
# 3. unpacks it into a staging root (dpkg -x: no maintainer scripts, the system is untouched),
#    starts the unpacked program there under Xvfb, ends the intro with a key, compares the window
#    with the title picture and quits (scripts/game_session.py); the program must have read its
#    data from the staging root. It never reaches a high score, so ~/.pimwarden/ is only read.
# Leaves the package in BUILD_DIR and prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-package}")
"$root/scripts/deps.sh"

step() { echo "== $*"; }
fail() { echo "error: $*" >&2; exit 1; }

step "configure and build ($build)"
# An existing build folder (CI passes the test build) keeps its settings; only the program built
# for installing, the manual page and the icons are added. The package's prefix is /usr.
if [ -f "$build/CMakeCache.txt" ]; then
  cmake "$build" >/dev/null
else
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMO_TESTS=OFF \
    -DLUMO_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j2 --target pimwarden_installed pimwarden_docs pimwarden_icons
rm -f "$build"/pimwarden_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/pimwarden_*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no package"
deb=${debs[0]}
echo "$deb"

step "metadata"
dpkg-deb --info "$deb" >/dev/null
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = pimwarden ] || fail "Package is '$(field Package)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
depends=$(field Depends)
echo "Depends: $depends"
# Every library the program links, found by dpkg-shlibdeps; SDL 1.2 in either flavour.
for dep in 'libsdl1\.2debian \(>= [^)]*\) \| libsdl1\.2-compat-shim' 'libsdl-image1\.2' \
           'libopenal1' 'libvorbisfile3' 'libexpat1' 'libpng16-16' 'libgl1' 'libglu1-mesa' 'libc6'; do
  grep -Eq "(^|, )$dep" <<<"$depends" || fail "Depends lacks $dep"
done

step "file list"
dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort >"$build/package-files.txt"
expected=(/usr/games/pimwarden /usr/share/applications/pimwarden.desktop
          /usr/share/metainfo/org.lumo.pimwarden.metainfo.xml /usr/share/man/man6/pimwarden.6.gz
          /usr/share/doc/pimwarden/copyright /usr/share/doc/pimwarden/changelog.Debian.gz)
for size in 48 64 128 256; do expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/pimwarden.png"); done
while IFS= read -r f; do expected+=("/usr/share/games/pimwarden/${f#"$root/game/data/"}"); done \
  < <(find "$root/game/data" -type f | sort)
printf '%s\n' "${expected[@]}" | sort >"$build/package-expected.txt"
diff -u "$build/package-expected.txt" "$build/package-files.txt" || fail "unexpected file list"
[ -f "$root/game/data/resources.xml" ] || fail "game/data/resources.xml is missing"
if dpkg-deb --contents "$deb" | awk '{print $1, $6}' | grep -v '^d' | grep -Ev '^-rw-r--r-- |^-rwxr-xr-x \./usr/games/pimwarden$'; then
  fail "files with unexpected permissions (above)"
fi

if command -v lintian >/dev/null; then
  step "lintian"
  # A package built here closes no bug of the Debian archive.
  lintian --fail-on error,warning --suppress-tags initial-upload-closes-no-bugs "$deb"
fi

step "apt could install it (simulation)"
apt-get install -s --no-install-recommends "$deb" >"$build/apt-simulation.txt" 2>&1 ||
  { cat "$build/apt-simulation.txt"; fail "apt cannot install the package"; }
grep -q '^Inst pimwarden ' "$build/apt-simulation.txt" || { cat "$build/apt-simulation.txt"; fail "apt would not install it"; }

step "unpack into a staging root and start the game"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dpkg -x "$deb" "$stage"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$stage/usr/share/metainfo/org.lumo.pimwarden.metainfo.xml"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$stage/usr/share/applications/pimwarden.desktop"
fi
SDL_VIDEODRIVER=x11 ALSOFT_DRIVERS=null MESA_SHADER_CACHE_DISABLE=true \
  "$root/scripts/with-xvfb.sh" /usr/bin/python3 "$root/scripts/game_session.py" \
  "$stage/usr/games/pimwarden" "$stage/usr/share/games/pimwarden/images/greatPim.png" \
  "$build/package-start.log"
grep -q "Loading font .* from dir $stage/usr/games/../share/games/pimwarden/" "$build/package-start.log" ||
  fail "the unpacked program did not read its data from the staging root (see $build/package-start.log)"
echo "package OK: $deb"
