#!/usr/bin/env bash
# What a screen reader reads: the program over the real accessibility bus
# (AT-SPI), under Xvfb, a window manager and a session bus of its own; every
# showing control of the windows and dialogs the keyboard opens must have a
# name. Exits 77 (skipped) when a tool or pyatspi is missing.
# usage: xvfb_accessibility_test.sh PATH-TO-vellumar
set -euo pipefail
program=$(realpath "${1:?usage: xvfb_accessibility_test.sh PATH-TO-vellumar}")
walker=$(dirname "$(realpath "$0")")/xvfb/accessibility_names.py
if [ -z "${VELLUMAR_XVFB_INNER:-}" ]; then
  for tool in xvfb-run dbus-run-session xdotool xprop openbox; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
  done
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: pyatspi is missing"; exit 77; }
  VELLUMAR_XVFB_INNER=1 exec timeout 150 xvfb-run -a -s "-screen 0 1280x1024x24" \
    dbus-run-session -- "$0" "$@"
fi
cd "$(mktemp -d)" && trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$PWD"' EXIT
cp "$(dirname "$walker")"/../../../resources/{MASTER.DAT,Vellumar.HLP} .
openbox >/dev/null 2>&1 &
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break || sleep 0.1; done
VELLUMAR_HOME="$PWD/" timeout 120 /usr/bin/python3 "$walker" "$program"
