#!/usr/bin/env bash
# Installs the Debian packages Quillo needs to build, test and run, if missing.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev qt6-svg-dev libgl-dev libxxhash-dev
          fonts-ipafont-gothic xvfb xauth xdotool imagemagick x11-utils xdg-utils
          desktop-file-utils appstream openbox qt6-image-formats-plugins)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
