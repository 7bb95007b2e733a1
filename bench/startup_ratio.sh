#!/usr/bin/env bash
# Start-up to the first painted frame window (offscreen, with the sample master
# list) against a minimal Qt program showing an empty main window. Prints both
# medians and their ratio; the target is a ratio below 1.5.
# usage: bench/startup_ratio.sh [runs]   (after a release build)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
build=build/release
cmake --build "$build" --target minimal_window vellumar_startup >/dev/null

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
cp resources/MASTER.DAT resources/Vellumar.HLP "$home/"
export QT_QPA_PLATFORM=offscreen VELLUMAR_HOME="$home"

median_ms() { # program
    local times=()
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        (cd "$home" && "$1" >/dev/null 2>&1)
        end=$(date +%s%N)
        times+=($(( (end - start) / 1000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { printf "%.1f", a[int((NR + 1) / 2)] / 1000 }'
}

"$build/bench/minimal_window" >/dev/null 2>&1 # warm the caches
minimal=$(median_ms "$PWD/$build/bench/minimal_window")
vellumar=$(median_ms "$PWD/$build/bench/vellumar_startup")
awk -v m="$minimal" -v v="$vellumar" 'BEGIN {
    printf "minimal window: %s ms\nvellumar:       %s ms\nratio:          %.2f (target < 1.5)\n", m, v, v / m }'
