#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running Pictelle
# need, when any is missing, and those named as arguments (scripts/package.sh adds its
# own). Safe to run again: it installs nothing when all are there. The validators of the
# packaging tests (desktop file, metainfo, manual pages) are among them.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang-format
    qt6-base-dev zlib1g-dev libsquish-dev libstb-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth fonts-dejavu-core fonts-liberation2
    desktop-file-utils appstream man-db groff-base dpkg-dev
    shared-mime-info libglib2.0-bin
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
