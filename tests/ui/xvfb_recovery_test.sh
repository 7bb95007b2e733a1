#!/usr/bin/env bash
# Unsaved work outlives kill -9: books a killed run changed like a saved run (same seed
# and keys) are recovered by the next run and, saved, equal the saved run's byte for byte.
set -euo pipefail
program=$(realpath "${1:?usage: xvfb_recovery_test.sh PATH-TO-vellumar}")
if [ -z "${VELLUMAR_XVFB_INNER:-}" ]; then
  for tool in xvfb-run xdotool xprop openbox; do command -v $tool >/dev/null || exit 77; done
  VELLUMAR_XVFB_INNER=1 exec timeout 150 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
cd "$(mktemp -d)" && trap 'kill -9 $(jobs -p) 2>/dev/null; rm -rf "$PWD"' EXIT
export VELLUMAR_HOME="$PWD/" XDG_STATE_HOME="$PWD/state" QT_QPA_PLATFORM=xcb
for name in Alarm "Burning Hands" Grease Jump Shield Sleep; do
  printf '1,"%s","SRD",1,"C","Evocation"\r\n' "$name"
done > MASTER.DAT
books() { for book in a b; do printf '4\r\n5\r\n12\r\nGeneralist\r\nC\r\n \r\n' > $book.spb; done; }
openbox >/dev/null 2>&1 &
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break || sleep 0.1; done
window() { # the id of a visible window of that title, within 10 seconds
  for _ in $(seq 100); do xdotool search --onlyvisible --name "^$1\$" | tail -1 && return || sleep 0.1; done && exit 1
}
start() { "$program" --seed 7 "$PWD/a.spb" "$PWD/b.spb" > log 2>&1 & pid=$!; }
frame() { window 'Vellumar 95.*' > /dev/null && sleep 1.5 && window 'Vellumar 95.*'; } # past "Working..."
add_random_spells() { # to b (active), then to a
  xdotool windowactivate --sync "$1" sleep 0.5 key Insert sleep 0.3 key ctrl+Tab sleep 0.3 key Insert sleep 0.3
}

books && start && frame=$(frame)
add_random_spells "$frame"
xdotool key F2 sleep 0.3 key ctrl+Tab sleep 0.3 key F2 sleep 0.5
kill -9 $pid && mkdir saved && cp a.spb b.spb saved/ && books
! cmp -s a.spb saved/a.spb || { echo "the first run saved nothing"; exit 1; }
! ls state/vellumar/recovery/*/*.info 2>/dev/null || { echo "saved books left recovery files"; exit 1; }

start && frame=$(frame)
add_random_spells "$frame"
xdotool key alt+o sleep 0.3 key v
master=$(window 'Master Spell List')
xdotool sleep 0.5 mousemove --window "$master" 60 153 click 1 sleep 0.3 key Delete
sleep 2.5
kill -9 $pid
[ "$(ls state/vellumar/recovery/session-*/*.info | wc -l)" = 3 ] || { echo "not three entries"; ls -R state; exit 1; }

"$program" > log 2>&1 &
xdotool windowactivate --sync "$(window 'Recover Unsaved Work')" sleep 0.5 key Return
xdotool sleep 0.5 key Return # Yes: the recovered master list replaces the loaded one
frame=$(frame)
xdotool windowactivate --sync "$frame" sleep 0.5 key F2 sleep 0.3 key ctrl+Tab sleep 0.3 key F2 sleep 0.5
cmp a.spb saved/a.spb
cmp b.spb saved/b.spb
grep -q kind=list state/vellumar/recovery/session-*/*.info || { echo "master list not kept"; exit 1; }
