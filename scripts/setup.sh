#!/usr/bin/env bash
# Installs the Debian packages Vormel needs to build, test and run; does nothing when all are there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libfmt-dev libcli11-dev libgtest-dev libgmock-dev nlohmann-json3-dev libtbb-dev coinor-libcbc-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  xvfb xauth openbox x11-utils
  pybind11-dev python3-dev python3-pytest
  berkeley-abc dpkg-dev lintian
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
