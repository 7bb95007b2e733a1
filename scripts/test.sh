#!/usr/bin/env bash
# Installs what is missing, builds Vellumar and runs every test: once in a
# release build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
# Then runs clang-tidy over every source file of src/, and fuzzes every file
# reader for FUZZ_SECONDS each (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh test

for preset in release asan; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset tests"
  ctest --preset "$preset" -j2
done

echo "== clang-tidy"
scripts/tidy.sh build/release

echo "== fuzz"
scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
