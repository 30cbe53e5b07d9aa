#!/bin/bash
# Installs the Debian packages needed to build, run and test, when any is missing.
# Works as root and as a user with sudo.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
  libsdl1.2-dev libsdl-image1.2-dev libopenal-dev libvorbis-dev libexpat1-dev libpng-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  xvfb xauth xdotool dpkg-dev file
  python3-pil python3-numpy fonts-liberation fonts-dejavu-core vorbis-tools
)

missing=()
for p in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
SUDO=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "error: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  SUDO=(sudo)
fi
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "${missing[@]}" >/dev/null
