#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Cangshu needs.
# Idempotent and quiet when everything is already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache clang-format
  qt6-base-dev qt6-base-dev-tools qt6-l10n-tools libgl-dev libxkbcommon-dev
  libqt6sql6-sqlite libqt6sql6-psql libqt6svg6
  qt6-charts-dev qt6-multimedia-dev
  libzint-dev libxlsxwriter-dev libyaz-dev yaz libfreexl-dev libzip-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  postgresql postgresql-client
  fonts-wqy-microhei xvfb xauth poppler-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
