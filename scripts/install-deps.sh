#!/usr/bin/env bash
# Installs what building, running and testing Ostrel needs on Debian 12.
# Packages already present are not fetched again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libqt6svg6
  libgtest-dev googletest
  tftpd-hpa tftp-hpa
  fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq || true
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The tftpd-hpa package may start a system-wide server on port 69; the tests
# start their own servers on loopback and do not need it.
