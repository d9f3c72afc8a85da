#!/usr/bin/env bash
# Installs every Debian package the project needs. Idempotent: installs only what is missing,
# and refreshes the package lists only when something has to be installed.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql
  qt6-translations-l10n qt6-serialport-dev qt6-charts-dev
  libqt6opengl6-dev libgl-dev libxkbcommon-dev libvulkan-dev
  libgtest-dev libgmock-dev
  libsqlite3-dev libzint-dev libxlsxwriter-dev libfreexl-dev libzip-dev
  fonts-noto-cjk fonts-wqy-microhei
  poppler-utils zbar-tools postgresql xvfb xauth python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
