#!/usr/bin/env bash
# Installs what is missing, builds Vellumar and starts it with the sample master list.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vellumar
cd build/release
exec ./vellumar "$@"
