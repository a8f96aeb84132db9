#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Quillgate need.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
  libssl-dev openssl
  dovecot-core dovecot-pop3d python3
  xdg-utils alsa-utils pulseaudio-utils
  desktop-file-utils appstream librsvg2-bin libclang-rt-14-dev help2man libqt6svg6
  xvfb xauth x11-utils trayer dbus-daemon
  fonts-dejavu-core
  weston qt6-wayland
  wamerican
  qtkeychain-qt6-dev gnome-keyring
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
