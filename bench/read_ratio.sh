#!/usr/bin/env bash
# Reading a master list of 1,000,000 spells in book order (vellumar-cli info)
# against another build of vellumar-cli (an earlier commit's) and against
# `wc -l` of the same file. Each run is a whole process, the programs take
# turns so that a busy moment of the machine falls on all, and the figures are
# the child's own CPU time (user and system) and peak memory. Prints the
# medians and the ratios; the targets are at most 1 for CPU and memory against
# the other build, and at most 25 for CPU against wc -l.
# usage: bench/read_ratio.sh OTHER_CLI [THIS_CLI [RUNS [SPELLS]]]
#   THIS_CLI defaults to build/release/vellumar-cli; RUNS to 9; SPELLS to 1000000.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { sed -n '2,10p' "$0" | cut -c3- >&2; exit 2; }
other=$1
this=${2:-build/release/vellumar-cli}
runs=${3:-9}
spells=${4:-1000000}
for program in "$other" "$this"; do
    [ -x "$program" ] || { echo "not a program: $program" >&2; exit 2; }
done

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
list=$folder/master.dat
# As bench/generated_master.h makes its lists: more low-level spells than high,
# mostly Common and Uncommon, names "Spell L-NNNNNN" (so in book order as made).
LC_ALL=C awk -v spells="$spells" 'BEGIN {
    split("18 16 14 12 11 9 8 7 5", weight, " ")
    split("abj alt c/s div e/c i/e ill nec alt/i/e ill/abj div/e/c", category, " ")
    category[12] = ""
    split("S V R U C", letter, " ")
    made = 0; x = 12345
    for (level = 1; level <= 9; level++) {
        count = level == 9 ? spells - made : int(spells * weight[level] / 100)
        for (i = 0; i < count; i++) {
            x = (x * 1103515245 + 12345) % 2147483648; f = int(x / 65536) % 100
            frequency = f < 4 ? 1 : f < 12 ? 2 : f < 26 ? 3 : f < 52 ? 4 : 5
            x = (x * 1103515245 + 12345) % 2147483648; c = int(x / 65536) % 12 + 1
            printf "%d,\"Spell %d-%06d\",\"Tome\",%d,\"%s\",\"%s\"\r\n", level, level, i,
                i % 400, letter[frequency], category[c]
            made++
        }
    }
    printf " \r\n"
}' >"$list"

run() { # program [argument...]: "CPU-milliseconds peak-KiB" of one run
    python3 -c '
import os, sys
devnull = os.open(os.devnull, os.O_WRONLY)
pid = os.posix_spawnp(sys.argv[1], sys.argv[1:], os.environ,
                      file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1),
                                    (os.POSIX_SPAWN_DUP2, devnull, 2)])
_, status, usage = os.wait4(pid, 0)
if os.waitstatus_to_exitcode(status) != 0:
    sys.exit(sys.argv[1] + " failed")
print("%.1f %d" % ((usage.ru_utime + usage.ru_stime) * 1000, usage.ru_maxrss))
' "$@"
}

median() { # numbers, one a line
    sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'
}

run wc -l "$list" >/dev/null # warm the page cache
other_runs=() this_runs=() wc_runs=()
for _ in $(seq "$runs"); do
    other_runs+=("$(run "$other" info "$list")")
    this_runs+=("$(run "$this" info "$list")")
    wc_runs+=("$(run wc -l "$list")")
done
column() { printf '%s\n' "${@:2}" | cut -d' ' -f"$1" | median; }
other_cpu=$(column 1 "${other_runs[@]}") other_kib=$(column 2 "${other_runs[@]}")
this_cpu=$(column 1 "${this_runs[@]}") this_kib=$(column 2 "${this_runs[@]}")
wc_cpu=$(column 1 "${wc_runs[@]}")
awk -v n="$spells" -v r="$runs" -v oc="$other_cpu" -v ok="$other_kib" -v tc="$this_cpu" \
    -v tk="$this_kib" -v wc="$wc_cpu" 'BEGIN {
    printf "vellumar-cli info of %d spells in book order, median of %d runs\n", n, r
    printf "other build:  CPU %7.1f ms, peak %6.1f MiB\n", oc, ok / 1024
    printf "this build:   CPU %7.1f ms, peak %6.1f MiB\n", tc, tk / 1024
    printf "wc -l:        CPU %7.1f ms\n", wc
    printf "CPU:    %.2f of the other build (target at most 1)\n", tc / oc
    printf "memory: %.2f of the other build (target at most 1)\n", tk / ok
    if (wc > 0) printf "CPU:    %.1f times wc -l (target at most 25)\n", tc / wc }'
