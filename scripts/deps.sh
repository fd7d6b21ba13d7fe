#!/usr/bin/env bash
# Installs the Debian packages the build, the viewer and the tests need, when any is missing.
# Safe to run again: it does nothing when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools
  qt6-documentation-tools libgl-dev libqt6opengl6-dev
  zlib1g-dev libuemf-dev libgtest-dev libgmock-dev libbenchmark-dev
  emf2svg libwmf-bin fonts-urw-base35
  clang libclang-rt-14-dev
  xvfb xauth x11-utils imagemagick fonts-liberation
  desktop-file-utils appstream
  qt6-translations-l10n g++-mingw-w64-x86-64-posix clang-format
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
