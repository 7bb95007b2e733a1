#!/usr/bin/env bash
# Under Openbox, the master list must be active and above the frame after Edit Spell Data.
set -euo pipefail
program=$(realpath "${1:?usage: xvfb_focus_test.sh PATH-TO-vellumar}")
if [ -z "${VELLUMAR_XVFB_INNER:-}" ]; then
  for tool in xvfb-run xdotool xprop openbox; do command -v $tool >/dev/null || exit 77; done
  VELLUMAR_XVFB_INNER=1 exec timeout 100 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
cd "$(mktemp -d)" && trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$PWD"' EXIT
printf '1,"Alarm","SRD",1,"C","Abjuration"\r\n' > MASTER.DAT
openbox >/dev/null 2>&1 &
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break || sleep 0.1; done
VELLUMAR_HOME="$PWD/" QT_QPA_PLATFORM=xcb "$program" &
window() { # the id of a visible window of that title, within 10 seconds
  for _ in $(seq 100); do xdotool search --onlyvisible --name "^$1\$" | tail -1 && return || sleep 0.1; done && exit 1
}
frame=$(window 'Vellumar 95' >/dev/null && sleep 1 && window 'Vellumar 95') # past "Working..."
xdotool windowactivate --sync "$frame" key alt+o sleep 0.3 key v
master=$(window 'Master Spell List')
xdotool sleep 0.5 mousemove --window "$master" 60 153 click 1 sleep 0.3 key alt+e sleep 0.3 key e
window 'Edit Spell Data' >/dev/null && xdotool sleep 0.5 key Escape sleep 1
top=$(xprop -root _NET_CLIENT_LIST_STACKING | grep -oE "\b($(printf '0x%x|0x%x' "$frame" "$master"))\b" | tail -1)
[ "$(xdotool getactivewindow)" = "$master" ] && [ $((top)) = "$master" ]
