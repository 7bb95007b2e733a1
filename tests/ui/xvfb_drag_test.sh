#!/usr/bin/env bash
# Real drags with the mouse, under Xvfb: a row of the master list window is
# dragged onto a spellbook window's list, the book is saved with F2, and its
# file must then hold exactly that spell; then a spellbook file is dragged from
# another program (a stand-in for a file manager) onto the frame, which must
# open it. Exits 77 (skipped) when xvfb-run or xdotool is missing.
# usage: xvfb_drag_test.sh PATH-TO-vellumar PATH-TO-file_drag_source
set -euo pipefail
usage="usage: xvfb_drag_test.sh PATH-TO-vellumar PATH-TO-file_drag_source"
program=$(realpath "${1:?$usage}")
source_program=$(realpath "${2:?$usage}")

if [ -z "${VELLUMAR_XVFB_INNER:-}" ]; then
  if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
    echo "SKIP: xvfb-run or xdotool is missing"
    exit 77
  fi
  export VELLUMAR_XVFB_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

dir=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$dir"
}
trap cleanup EXIT
mkdir -p "$dir/home" "$dir/work"
cd "$dir/work"

names=("Alarm" "Burning Hands" "Charm Person" "Color Spray" "Detect Magic" "Disguise Self"
       "False Life" "Feather Fall" "Find Familiar" "Fog Cloud" "Grease" "Jump")
: > MASTER.DAT
for i in "${!names[@]}"; do
  printf '1,"%s","SRD",%d,"C","Evocation"\r\n' "${names[$i]}" "$((i + 1))" >> MASTER.DAT
done
printf ' \r\n' >> MASTER.DAT
# Caster level 5, Common: every spell of the list is eligible, so no question comes.
printf '4\r\n5\r\n12\r\nGeneralist\r\nC\r\n \r\n' > book.spb

# A window manager if there is one; the drag works without one too.
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  pids+=($!)
  # Windows mapped while it is still starting may never be shown: wait until
  # it announces itself on the root window.
  for _ in $(seq 1 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
fi

export VELLUMAR_HOME="$dir/home/" QT_QPA_PLATFORM=xcb
"$program" "$dir/work/book.spb" > "$dir/program.log" 2>&1 &
pids+=($!)

# The frame: the big window of that title (the working box shares it).
frame=
for _ in $(seq 1 300); do
  for w in $(xdotool search --onlyvisible --name '^Vellumar 95$' 2>/dev/null || true); do
    WIDTH=0
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null || true)"
    if [ "$WIDTH" -gt 600 ]; then frame=$w; fi
  done
  [ -n "$frame" ] && break
  sleep 0.1
done
if [ -z "$frame" ]; then
  echo "FAIL: the frame window did not appear"
  for w in $(xdotool search --name '.' 2>/dev/null || true); do
    echo "window $w: $(xdotool getwindowname "$w" 2>/dev/null || true)"
  done
  cat "$dir/program.log"
  exit 1
fi
sleep 0.5
focus() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; }
# Presses the button where the mouse is, leaves in steps of DX DY, and lets go
# at X Y of the frame, passing 20 pixels beside it first.
drag_to_frame() {
  xdotool mousedown 1
  for _ in $(seq 1 10); do
    xdotool mousemove_relative -- "$1" "$2"
    sleep 0.05
  done
  xdotool mousemove --window "$frame" $(($3 + 20)) $(($4 + 10))
  sleep 0.2
  xdotool mousemove --window "$frame" "$3" "$4"
  sleep 0.3
  xdotool mouseup 1
}

# Options, View Master List.
focus "$frame"
xdotool key alt+o
sleep 0.3
xdotool key v
master=
for _ in $(seq 1 50); do
  master=$(xdotool search --onlyvisible --name '^Master Spell List$' 2>/dev/null | head -1 || true)
  [ -n "$master" ] && break
  sleep 0.1
done
[ -n "$master" ] || { echo "FAIL: the master list window did not appear"; exit 1; }
xdotool windowmove --sync "$master" 760 120 || true
sleep 0.5

# Positions within the windows' own client areas: a row of the master list,
# below the filter field above it, and the middle of the spellbook window's list.
xdotool mousemove --window "$master" 60 153 click 1
sleep 0.3
drag_to_frame -3 2 272 297
sleep 0.5

# Save the book (its caption names its file, so F2 asks nothing).
focus "$frame"
xdotool key F2
spells=
for _ in $(seq 1 100); do
  spells=$(grep -c '^1,"' book.spb || true)
  [ "$spells" -gt 0 ] && break
  sleep 0.1
done
if [ "$spells" != 1 ]; then
  echo "FAIL: the saved book holds $spells spells, expected 1"
  cat book.spb
  exit 1
fi
spell=$(grep '^1,"' book.spb | tr -d '\r')
if ! grep -qF "$spell" MASTER.DAT; then
  echo "FAIL: the book holds a spell that is not in the master list: $spell"
  exit 1
fi
echo "dragged into the book: $spell"

# A file dropped from another program opens as Open does, which also puts it
# at the head of the recent books in the settings file.
printf '4\r\n3\r\n10\r\nGeneralist\r\nC\r\n \r\n' > dropped.spb
"$source_program" "$dir/work/dropped.spb" > "$dir/source.log" 2>&1 &
pids+=($!)
source_window=
for _ in $(seq 1 100); do
  source_window=$(xdotool search --onlyvisible --name '^File Drag Source$' 2>/dev/null | head -1 || true)
  [ -n "$source_window" ] && break
  sleep 0.1
done
[ -n "$source_window" ] || { echo "FAIL: the drag source did not appear"; cat "$dir/source.log"; exit 1; }
xdotool windowmove --sync "$source_window" 900 700 || true
sleep 0.5
xdotool mousemove --window "$source_window" 50 50
sleep 0.2
# To the frame's empty document area, right of the book, below the master list.
drag_to_frame -20 -20 780 760
opened=
for _ in $(seq 1 100); do
  if grep -qF "$dir/work/dropped.spb" "$dir/home/Vellumar.INI" 2>/dev/null; then
    opened=1
    break
  fi
  sleep 0.1
done
if [ -z "$opened" ]; then
  echo "FAIL: the dropped file was not opened"
  cat "$dir/home/Vellumar.INI" 2>/dev/null || true
  cat "$dir/program.log"
  exit 1
fi
echo "dropped on the frame and opened: dropped.spb"
echo "2 passed, 0 failed"
