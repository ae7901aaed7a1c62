#!/usr/bin/env bash
# Installs the Debian packages the game (and, with --test, its tests) needs.
# Quick and quiet when everything is already there.
set -euo pipefail

packages=(cmake g++ make pkg-config libsdl1.2-dev libsdl-ttf2.0-dev libsdl-mixer1.2-dev
          libgl-dev libgl1-mesa-dri libvorbis-dev libenet-dev xvfb xauth)
if [[ "${1:-}" == "--test" ]]; then
  # fonts-dejavu-core: the labels of the picture contact sheet; x11-xkb-utils:
  # setxkbmap, for the AZERTY keyboard of the keys.cfg test; python3-fonttools
  # and opentype-sanitizer: two readers that check the font's tables; clang
  # and libclang-rt-14-dev: libFuzzer, for scripts/fuzz.sh.
  packages+=(libgtest-dev libbenchmark-dev xdotool imagemagick x11-utils python3
            libxtst-dev desktop-file-utils appstream man-db fonts-dejavu-core x11-xkb-utils
            python3-fonttools opentype-sanitizer clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
