#!/usr/bin/env bash
# Start-up to the first painted frame window (offscreen, with the sample master
# list) against a bare frame window: a Qt program with a menu bar, a tool bar
# and an empty document area, and no work behind them. Each run is a whole
# process, from exec to exit just after the first paint: the program itself,
# as installed, with --quit-after-start. The measure is CPU time (user and
# system, every thread counted), which other work on the machine disturbs
# less than wall time. Prints the medians and the ratio; the target is a ratio
# of at most 1.4. An empty main window is timed as well, for scale.
# usage: bench/startup_ratio.sh [runs]   (after a release build)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
build=build/release
cmake --build "$build" --target minimal_window bare_frame_window vellumar >/dev/null

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
cp resources/MASTER.DAT resources/MASTER.DAT.texts.json resources/Vellumar.HLP "$home/"
export QT_QPA_PLATFORM=offscreen VELLUMAR_HOME="$home"

cpu_us() { # program [argument...]: one run's CPU time in microseconds
    local TIMEFORMAT='%3U %3S' times
    times=$({ time (cd "$home" && "$@" >/dev/null 2>&1); } 2>&1)
    awk '{ printf "%d\n", ($1 + $2) * 1000000 }' <<<"$times"
}

median_ms() { # the times, one a line
    sort -n | awk '{ a[NR] = $1 } END { printf "%.1f", a[int((NR + 1) / 2)] / 1000 }'
}

# The programs take turns, so that a busy moment of the machine falls on all.
"$build/bench/bare_frame_window" >/dev/null 2>&1 # warm the caches
minimal_times=() frame_times=() vellumar_times=()
for _ in $(seq "$runs"); do
    minimal_times+=("$(cpu_us "$PWD/$build/bench/minimal_window")")
    frame_times+=("$(cpu_us "$PWD/$build/bench/bare_frame_window")")
    vellumar_times+=("$(cpu_us "$PWD/$build/vellumar" --quit-after-start)")
done
minimal=$(printf '%s\n' "${minimal_times[@]}" | median_ms)
frame=$(printf '%s\n' "${frame_times[@]}" | median_ms)
vellumar=$(printf '%s\n' "${vellumar_times[@]}" | median_ms)
awk -v m="$minimal" -v f="$frame" -v v="$vellumar" 'BEGIN {
    printf "CPU time, median of the runs\n"
    printf "empty window:   %s ms\n", m
    printf "bare frame:     %s ms  (menu bar, tool bar, empty document area)\n", f
    printf "vellumar:       %s ms\n", v
    printf "ratio:          %.2f (vellumar to bare frame; target at most 1.4)\n", v / f }'
