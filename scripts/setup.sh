#!/usr/bin/env bash
# Installs whatever the game, its tests and its benchmarks need on Debian 12 and
# is missing. Uses sudo when not run as root. Safe to run again.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  freeglut3-dev libglu1-mesa-dev libx11-dev libopenal-dev libpng-dev libenet-dev libgl1-mesa-dri
  libgtest-dev libbenchmark-dev valgrind
  xvfb xauth xdotool x11-utils openbox libxext-dev libxfixes-dev zlib1g-dev
  desktop-file-utils man-db bsdextrautils appstream file dpkg-dev lintian librsvg2-bin
  clang-format
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
