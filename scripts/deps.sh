#!/usr/bin/env bash
# Installs the Debian packages the build needs, when they are missing.
# As root it runs apt-get; otherwise it prints the exact command and stops.
set -euo pipefail

packages=(cmake g++ make pkg-config libpng-dev zlib1g-dev libdeflate-dev libgtest-dev
  libgmock-dev libbenchmark-dev qt6-base-dev libxcb1-dev xvfb clang libclang-rt-14-dev python3
  desktop-file-utils appstream man-db dpkg-dev file python3-debian pngquant chromium)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

line="apt-get update && apt-get install -y ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "These Debian packages are missing. As root, run:" >&2
  echo "  $line" >&2
  exit 1
fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
