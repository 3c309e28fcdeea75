#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, when any is missing.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config make
    libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev timgm6mb-soundfont libenet-dev
    googletest libgtest-dev
    xvfb xauth xdotool imagemagick python3 python3-numpy python3-pil
)
[ "$#" -gt 0 ] && packages+=("$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    runner=()
elif command -v sudo >/dev/null 2>&1; then
    runner=(sudo)
else
    echo "error: these Debian packages are missing and neither root nor sudo is available to install them:" >&2
    echo "  ${missing[*]}" >&2
    echo "Install them as root: apt-get install ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${runner[@]}" apt-get update -qq || true
"${runner[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
