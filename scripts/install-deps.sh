#!/usr/bin/env bash
# Installs the Debian packages that Horalog needs to build, run and test; skips what is already there.
set -euo pipefail
packages=(
  cmake g++ make pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6sql6-sqlite libqt6svg6
  qt6-qpa-plugins fonts-liberation2 libsqlite3-dev
  sqlite3 xvfb xauth imagemagick unrtf
  desktop-file-utils appstream python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
