#!/usr/bin/env bash
# Installs the Debian packages the build and every test need, when they are
# missing, so that no test has to install one midway. As root it runs apt-get;
# otherwise it prints the exact command and stops. Another package manager at
# work (unattended upgrades on a fresh machine) is waited for, up to ten
# minutes, instead of failing.
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
wait=600
apt=(apt-get -o DPkg::Lock::Timeout=$wait)
# apt-get waits for the dpkg lock itself when given a timeout, but not for the
# package lists' lock that an update takes: that one is tried again here.
for ((waited = 0; ; waited += 10)); do
  if log=$("${apt[@]}" update -qq 2>&1); then break; fi
  if ! grep -q 'Could not get lock' <<<"$log" || [ "$waited" -ge "$wait" ]; then
    echo "$log" >&2
    exit 1
  fi
  sleep 10
done
"${apt[@]}" install -y -qq "${missing[@]}" >/dev/null
