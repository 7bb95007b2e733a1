#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over every source file of src/: the
# core, vellumar-cli, the Qt halves, the windows and main.cpp, with the compile
# commands of a configured build (default build/release). Exits non-zero on
# any finding.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build/release}"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "no $build/compile_commands.json: configure that build first" >&2
  exit 2
fi
# The window code includes the files moc writes; they must exist.
if [ ! -d "$build/vellumar_ui_autogen" ] && grep -q vellumar_ui "$build/compile_commands.json"; then
  echo "build $build first: the moc files are missing" >&2
  exit 2
fi

find src -name '*.cpp' -print0 |
  xargs -0 -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet
