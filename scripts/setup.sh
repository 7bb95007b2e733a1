#!/usr/bin/env bash
# Installs the Debian packages Vellumar needs, skipping those already installed.
# usage: scripts/setup.sh [run|test]
#   run   what building and running the desktop program and vellumar-cli need
#   test  that, and what the tests, benchmarks, screenshots and package checks
#         need (the default)
set -euo pipefail

what=${1:-test}

# Building and running.
packages=(
  g++ cmake ninja-build pkg-config nlohmann-json3-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev libqt6svg6 qt6-qpa-plugins
  fonts-dejavu-core
  librsvg2-bin
)
case $what in
run) ;;
test)
  packages+=(
    clang libclang-rt-14-dev clang-tidy
    googletest libgtest-dev libbenchmark-dev
    xvfb xauth xdotool x11-utils imagemagick openbox
    at-spi2-core python3-pyatspi dbus-x11
    dpkg-dev file desktop-file-utils shared-mime-info xdg-utils
    lintian appstream
    acl
  )
  ;;
*)
  echo "usage: scripts/setup.sh [run|test]" >&2
  exit 2
  ;;
esac

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
  command -v sudo >/dev/null || {
    echo "Missing packages, and no sudo to install them as root: ${missing[*]}" >&2
    exit 1
  }
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
