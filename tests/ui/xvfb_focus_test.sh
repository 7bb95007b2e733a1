#!/usr/bin/env bash
# Under Xvfb and Openbox: the master list over the maximised frame runs Edit
# Spell Data, the dialog is cancelled, and the master list must then be the
# active window and above the frame. Exits 77 (skipped) without xvfb-run,
# xdotool or openbox.
# usage: xvfb_focus_test.sh PATH-TO-vellumar
set -euo pipefail
program=$(realpath "${1:?usage: xvfb_focus_test.sh PATH-TO-vellumar}")
if [ -z "${VELLUMAR_XVFB_INNER:-}" ]; then
  for tool in xvfb-run xdotool xprop openbox; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
  done
  VELLUMAR_XVFB_INNER=1 exec timeout 100 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
dir=$(mktemp -d)
pids=()
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$dir"' EXIT
mkdir -p "$dir/home" && cd "$dir"
printf '1,"Alarm","SRD",1,"C","Abjuration"\r\n1,"Sleep","SRD",2,"C","Enchantment"\r\n' > MASTER.DAT
openbox >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break || sleep 0.1
done
VELLUMAR_HOME="$dir/home/" QT_QPA_PLATFORM=xcb "$program" > program.log 2>&1 & pids+=($!)
# Waits up to 10 seconds for a visible window of that exact title and prints its id.
window() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1 && return || sleep 0.1
  done
  echo "FAIL: no window \"$1\"" >&2 && cat program.log >&2 && exit 1
}
# The working box shares the frame's title while the master list loads.
window 'Vellumar 95' >/dev/null && sleep 1
frame=$(window 'Vellumar 95')
xdotool windowactivate --sync "$frame" key alt+o && sleep 0.3 && xdotool key v
master=$(window 'Master Spell List')
sleep 0.5
xdotool mousemove --window "$master" 60 153 click 1 && sleep 0.3 && xdotool key alt+e && sleep 0.3 && xdotool key e
window 'Edit Spell Data' >/dev/null
sleep 0.5 && xdotool key Escape && sleep 1
active=$(xdotool getactivewindow)
stacking=$(xprop -root _NET_CLIENT_LIST_STACKING)
above=$(echo "$stacking" | grep -o '0x[0-9a-f]*' | grep -n -e "$(printf '0x%x$' "$frame")" -e "$(printf '0x%x$' "$master")" | tail -1)
echo "active $active, master $master, frame $frame, stacking: $stacking"
[ "$active" = "$master" ] || { echo "FAIL: the master list is not the active window"; exit 1; }
[[ "$above" == *"$(printf '0x%x' "$master")" ]] || { echo "FAIL: the frame covers the master list"; exit 1; }
echo "the master list keeps the focus and the top after Edit Spell Data"
