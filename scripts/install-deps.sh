#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Quillet
# need, skipping what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev libxcb1-dev libpcre2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  openjdk-17-jdk-headless
  fonts-dejavu-core fontconfig
  xvfb xdotool vim unzip openbox
  python3-pyatspi at-spi2-core dbus dbus-x11 python3-gi
  ccache libvterm-dev poppler-utils
  openjdk-17-source openjdk-17-demo
  junit5 junit4
  libqt6svg6
  desktop-file-utils appstream dpkg-dev file man-db
  ripgrep
  nlohmann-json3-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
