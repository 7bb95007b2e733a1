#!/usr/bin/env bash
# Every showing control the keyboard reaches has an AT-SPI name (Xvfb, Openbox); 77: no tool.
set -euo pipefail
program=$(realpath "${1:?usage: xvfb_accessibility_test.sh PATH-TO-vellumar}")
here=$(dirname "$(realpath "$0")")
if [ -z "${VELLUMAR_XVFB_INNER:-}" ]; then
  for tool in xvfb-run dbus-run-session xdotool xprop openbox; do command -v $tool >/dev/null || exit 77; done
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || exit 77
  VELLUMAR_XVFB_INNER=1 exec timeout 150 xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- "$0" "$@"
fi
cd "$(mktemp -d)" && trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$PWD"' EXIT
cp "$here/../../resources/MASTER.DAT" "$here/../../resources/Vellumar.HLP" .
# A book a dead program left unsaved (pid_max: no process has it), offered at start.
export XDG_STATE_HOME="$PWD/state" session=state/vellumar/recovery/session-$(cat /proc/sys/kernel/pid_max)
(umask 077 && mkdir -p $session) && touch $session/lock && printf '4\r\n5\r\n12\r\nGeneralist\r\nC\r\n \r\n' > $session/1.body
printf 'kind=book\npath=/lost.spb\ncaption=lost.spb\npid=%s\ntime=%s\nspells=0\n' "${session##*-}" "$(date +%s)" > $session/1.info
openbox >/dev/null 2>&1 &
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break || sleep 0.1; done
VELLUMAR_HOME="$PWD/" QT_QPA_PLATFORM=xcb timeout 120 /usr/bin/python3 -B "$here/xvfb/accessibility_names.py" "$program"
