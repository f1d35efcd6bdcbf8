#!/usr/bin/env bash
# Installs the Debian packages Vorbix needs to build, run and test, when any is missing.
set -euo pipefail

packages=(
  cmake g++ ninja-build ccache pkg-config clang libclang-rt-14-dev clang-format clang-tidy
  qt6-base-dev libgl-dev libx11-dev libxtst-dev
  libfmt-dev libfast-float-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  xvfb xdotool x11-utils imagemagick
  desktop-file-utils appstream libxml2-utils libglib2.0-bin
  dpkg-dev lintian man-db groff-base
  emscripten chromium python3-websocket fonttools python3-brotli
  fonts-liberation fonts-ebgaramond fonts-dejavu-core fonts-urw-base35 locales
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
