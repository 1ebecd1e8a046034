#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing the editor need.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config libgtest-dev qt6-base-dev libgl-dev libicu-dev
  libmpv-dev libpulse-dev libcurl4-openssl-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  pulseaudio pulseaudio-utils python3-aiosmtpd
  xvfb xauth xdotool libxtst-dev imagemagick espeak-ng ffmpeg locales
  # The CJK face of the skin, the Kai face of the quick-start and About panels, and the DejaVu
  # faces with every style (regular, bold, oblique) the font tests pick; fonts-dejavu-core alone
  # has no oblique.
  fontconfig fonts-noto-cjk fonts-arphic-ukai fonts-dejavu-core fonts-dejavu-extra
  clang libclang-rt-14-dev python3
  dpkg-dev file desktop-file-utils shared-mime-info weston qt6-wayland appstream
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done

if ((${#missing[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi
