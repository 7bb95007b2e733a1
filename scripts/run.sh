#!/usr/bin/env bash
# Installs what running needs, builds Vellumar and vellumar-cli, and starts
# Vellumar with the sample master list. Books named on the command line are
# found from the folder the script was called in.
# usage: scripts/run.sh [vellumar options] [BOOK ...]
set -euo pipefail
repository=$(cd "$(dirname "$0")/.." && pwd)

(
  cd "$repository"
  scripts/setup.sh run
  cmake --preset release >/dev/null
  cmake --build --preset release --target vellumar vellumar-cli
)
exec "$repository/build/release/vellumar" "$@"
