#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12. Does nothing
# when everything is already there, so every command can call it.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache clang lld libclang-rt-14-dev pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-webengine-dev zlib1g-dev libminizip-dev libpng-dev libcurl4-openssl-dev libssl-dev
  fonts-liberation xvfb
  pngcheck poppler-utils zip unzip python3 srecord python3-pyftpdlib
  libreoffice-writer-nogui python3-html5lib tidy chromium
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
