#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over the Qt-free core and vellumar-cli,
# with the compile commands of a configured build (default build/release).
# Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build/release}"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "no $build/compile_commands.json: configure that build first" >&2
  exit 2
fi

find src/model src/files src/rules src/output src/platform src/cli \
     -maxdepth 1 -name '*.cpp' -print0 |
  xargs -0 -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet
