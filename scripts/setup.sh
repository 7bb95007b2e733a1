#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vellumar need,
# skipping those already installed.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  clang libclang-rt-14-dev clang-tidy
  googletest libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev libqt6svg6
  fonts-dejavu-core
  xvfb xauth xdotool x11-utils imagemagick openbox
  dpkg-dev file desktop-file-utils shared-mime-info xdg-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
