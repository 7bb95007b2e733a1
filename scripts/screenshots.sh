#!/usr/bin/env bash
# Takes the README's screenshots of the main windows under a virtual X screen
# and writes them to docs/screenshots/*.png. Uses the release build (made if
# missing), the sample master list and fixed seeds, so that the same program
# gives the same pictures. Openbox, when installed, draws the window frames.
# With QT_SCALE_FACTOR=2 in the environment the screen and the windows are
# twice as large, to check the pictures at 200 %.
# usage: scripts/screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/screenshots}")
scale=${QT_SCALE_FACTOR:-1}

if [ -z "${VELLUMAR_SCREENSHOT_DISPLAY:-}" ]; then
    if [ ! -x build/release/vellumar ] || [ ! -x build/release/vellumar-cli ]; then
        cmake --preset release >/dev/null
        cmake --build --preset release --target vellumar vellumar-cli
    fi
    export VELLUMAR_SCREENSHOT_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 $((1024 * scale))x$((720 * scale))x24" "$0" "$out"
fi

build=$PWD/build/release
home=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$home"
}
trap cleanup EXIT
mkdir -p "$out" "$home/runtime"
chmod 700 "$home/runtime"
cp resources/MASTER.DAT resources/MASTER.DAT.texts.json resources/Vellumar.HLP "$home/"
export VELLUMAR_HOME=$home XDG_RUNTIME_DIR=$home/runtime LC_ALL=C.UTF-8
unset QT_QPA_PLATFORM

if command -v openbox >/dev/null; then
    openbox --sm-disable >/dev/null 2>&1 &
    pids+=($!)
    # Windows mapped while it is still starting may never be shown.
    for _ in $(seq 1 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
fi

# Waits (at most ten seconds) for a window whose title matches; prints its id.
window() {
    timeout 10 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}
# Saves a window as a small PNG (256 colours); the second argument names the file.
shoot() {
    sleep 0.5 # let the window finish painting
    import -frame -window "$1" -strip -colors 256 "PNG8:$out/$2.png"
    echo "wrote $out/$2.png"
}
# Runs keys in the main window and shoots the window that appears, then sends
# the closing keys. A window that does not appear is skipped.
dialog() {
    local title=$1 name=$2 closing=$3
    shift 3
    xdotool windowactivate --sync "$frame" 2>/dev/null || true
    sleep 0.3
    xdotool key --delay 150 "$@"
    local id
    id=$(window "$title") || true
    if [ -z "$id" ]; then
        echo "skipped $name: no window \"$title\""
        xdotool key Escape Escape
        return
    fi
    shoot "$id" "$name"
    xdotool key $closing
    sleep 0.5
}

# A 9th-level Invoker made by the command-line tool, and the program with it.
# The book's folder shows in its caption, so it gets a plain name.
books=/tmp/Spellbooks
[ -e "$books" ] && { echo "$books is in the way" >&2; exit 1; }
mkdir "$books"
trap 'cleanup; rm -rf "$books"' EXIT
book=$books/Zarinth.SPB
"$build/vellumar-cli" fill --master resources/MASTER.DAT --output "$book" \
    --level 9 --intelligence 16 --specialty Invoker --frequency Rare --seed 5
(cd "$books" && exec "$build/vellumar" --seed 7 "$book") &
pids+=($!)
frame=$(window '^Vellumar 95$')
[ -n "$frame" ] || { echo "Vellumar did not start" >&2; exit 1; }
xdotool windowsize "$frame" $((1000 * scale)) $((680 * scale)) windowmove "$frame" 0 0 windowactivate --sync "$frame"
sleep 1
shoot "$frame" main-window

# Edit menu after a deletion: Undo is there to take it back. The menu is a
# window of its own, so the screen under the frame is taken.
xdotool mousemove $((100 * scale)) $((288 * scale)) click 1
sleep 0.3
xdotool key Delete
sleep 0.3
xdotool key alt+e
sleep 0.8
import -window root -crop "$((560 * scale))x$((420 * scale))+0+0" -strip -colors 256 "PNG8:$out/edit-undo.png"
echo "wrote $out/edit-undo.png"
xdotool key Escape
sleep 0.3
xdotool key ctrl+z

dialog '^New Spellbook Parameters$' new-spellbook Escape F4
dialog '^About Vellumar$' about Return alt+h a
dialog '^Master Spell List$' master-list alt+x alt+o v ctrl+f f i r e Tab space
dialog '^Spell Frequency Odds$' odds Escape alt+o o
dialog '^Print Preview$' print-preview Escape alt+f p p Return
dialog '^Vellumar Help$' help Escape F1
