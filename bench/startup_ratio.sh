#!/usr/bin/env bash
# Start-up to the first painted frame window (offscreen, with the sample master
# list) against a minimal Qt program showing an empty main window. Each run is
# a whole process, from exec to exit just after the first paint: the program
# itself, as installed, with --quit-after-start. Prints the medians and the
# ratio; the target is a ratio below 1.5. A bare frame (menus and tool bar, no
# work behind them) is timed as well, to show what the frame alone takes.
# usage: bench/startup_ratio.sh [runs]   (after a release build)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
build=build/release
cmake --build "$build" --target minimal_window bare_frame_window vellumar >/dev/null

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
cp resources/MASTER.DAT resources/Vellumar.HLP "$home/"
export QT_QPA_PLATFORM=offscreen VELLUMAR_HOME="$home"

run_us() { # program [argument...]: one run's wall time in microseconds
    local start end
    start=$(date +%s%N)
    (cd "$home" && "$@" >/dev/null 2>&1)
    end=$(date +%s%N)
    echo $(( (end - start) / 1000 ))
}

median_ms() { # the times, one a line
    sort -n | awk '{ a[NR] = $1 } END { printf "%.1f", a[int((NR + 1) / 2)] / 1000 }'
}

# The programs take turns, so that a busy moment of the machine falls on both.
"$build/bench/minimal_window" >/dev/null 2>&1 # warm the caches
minimal_times=() frame_times=() vellumar_times=()
for _ in $(seq "$runs"); do
    minimal_times+=("$(run_us "$PWD/$build/bench/minimal_window")")
    frame_times+=("$(run_us "$PWD/$build/bench/bare_frame_window")")
    vellumar_times+=("$(run_us "$PWD/$build/vellumar" --quit-after-start)")
done
minimal=$(printf '%s\n' "${minimal_times[@]}" | median_ms)
frame=$(printf '%s\n' "${frame_times[@]}" | median_ms)
vellumar=$(printf '%s\n' "${vellumar_times[@]}" | median_ms)
awk -v m="$minimal" -v f="$frame" -v v="$vellumar" 'BEGIN {
    printf "minimal window: %s ms\n", m
    printf "bare frame:     %s ms  (ratio %.2f: menus, tool bar, no work)\n", f, f / m
    printf "vellumar:       %s ms\n", v
    printf "ratio:          %.2f (target < 1.5)\n", v / m }'
