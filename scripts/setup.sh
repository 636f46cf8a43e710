#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
set -euo pipefail
PKGS=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-image-formats-plugins
  libcurl4-openssl-dev libicu-dev libsqlite3-dev
  libcpp-httplib-dev libssl-dev zlib1g-dev openssl curl
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  xvfb x11-utils xdotool fonts-noto-cjk imagemagick librsvg2-bin
  clang libclang-rt-14-dev
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
