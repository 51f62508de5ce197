#!/usr/bin/env bash
# Installs the Debian packages the engine, its tools and its tests need.
# Does nothing when everything is present; otherwise runs apt-get as root.
# `tools/setup.sh fuzz` also installs clang for the fuzz targets.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  freeglut3-dev libx11-dev libglew-dev libglu1-mesa-dev libpng-dev libjpeg62-turbo-dev
  libopenal-dev libalut-dev libxml2-dev liblua5.1-0-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick sox fonts-dejavu-core
)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
