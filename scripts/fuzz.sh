#!/usr/bin/env bash
# Builds the fuzz targets of the file readers with clang and libFuzzer and runs
# each one for a bounded time on a working copy of its seed corpus.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (default 60); TARGETs are names such as spell_list
# (default: every fuzz/<name>_fuzz.cpp). The corpus grows in fuzz/corpus-work/,
# which git ignores; crashes, leaks and slow inputs land in
# fuzz/corpus-work/findings/<target>/. Exits non-zero when any target found one.
# Each target uses fuzz/<target>.dict when there is one, else fuzz/spell_files.dict,
# and the libFuzzer options of fuzz/<target>.options (one line) when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
if [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in fuzz/*_fuzz.cpp; do
    name=$(basename "$src" _fuzz.cpp)
    targets+=("$name")
  done
fi

build=build/fuzz
work=fuzz/corpus-work
echo "== fuzz build"
CC=clang CXX=clang++ cmake -B "$build" -G Ninja -DVELLUMAR_FUZZ=ON -DVELLUMAR_GUI=OFF \
  -DVELLUMAR_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

failed=()
for t in "${targets[@]}"; do
  seeds=fuzz/corpus/$t
  if [ ! -d "$seeds" ]; then
    echo "fuzz: $t has no seed corpus in $seeds" >&2
    failed+=("$t")
    continue
  fi
  corpus=$work/$t
  findings=$work/findings/$t
  mkdir -p "$corpus" "$findings"
  cp "$seeds"/* "$corpus"/
  dict=fuzz/$t.dict
  [ -f "$dict" ] || dict=fuzz/spell_files.dict
  log=$work/$t.log
  options=()
  [ ! -f "fuzz/$t.options" ] || read -r -a options <"fuzz/$t.options"

  echo "== fuzz $t for ${seconds}s"
  status=0
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -dict="$dict" -artifact_prefix="$findings/" -print_final_stats=1 ${options[@]+"${options[@]}"} \
    "$corpus" >"$log" 2>&1 &
  pid=$!
  wait $pid || status=$?
  rm -f /dev/shm/vellumar-fuzz-$pid-* "${TMPDIR:-/tmp}"/vellumar-fuzz-$pid-*

  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "   executions: ${runs:-?}, corpus: $(ls "$corpus" | wc -l) inputs, log: $log"
  if [ $status -ne 0 ]; then
    echo "fuzz: $t found a problem (exit $status):" >&2
    grep -E 'ERROR|SUMMARY|property broken|Test unit written' "$log" >&2 || tail -20 "$log" >&2
    failed+=("$t")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: ${#targets[@]} targets ran ${seconds}s each without a finding"
