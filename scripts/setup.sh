#!/usr/bin/env bash
# Installs every Debian package that building, running and testing CorvexZR needs.
# Safe to run again: packages already present are skipped.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libxkbcommon-dev
  libqt6sql6-sqlite libqt6sql6-psql postgresql postgresql-common openssl
  libqcustomplot-dev
  libftdi1-dev libusb-1.0-0-dev
  umockdev libumockdev-dev
  libjpeg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth poppler-utils fonts-dejavu-core fonts-wine fonts-liberation
  openbox dbus-daemon xdotool xclip x11-apps x11-utils netpbm
  dpkg-dev file desktop-file-utils appstream man-db
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "setup: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
