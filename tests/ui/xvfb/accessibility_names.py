#!/usr/bin/python3
"""Opens the program's windows from the keyboard and reads them over AT-SPI,
as a screen reader does: every showing control a user can work must have a
name. Prints each unnamed one with its role and path; exits 1 if there are any.
usage: accessibility_names.py PATH-TO-vellumar (under X, a session bus and a
window manager; VELLUMAR_HOME set)"""
import os
import subprocess
import sys
import time

import pyatspi

R = pyatspi
CONTROLS = {R.ROLE_PUSH_BUTTON, R.ROLE_TOGGLE_BUTTON, R.ROLE_RADIO_BUTTON, R.ROLE_CHECK_BOX,
            R.ROLE_COMBO_BOX, R.ROLE_TEXT, R.ROLE_ENTRY, R.ROLE_PASSWORD_TEXT,
            R.ROLE_SPIN_BUTTON, R.ROLE_LIST, R.ROLE_LIST_BOX, R.ROLE_MENU_ITEM,
            R.ROLE_PAGE_TAB, R.ROLE_SLIDER, R.ROLE_TABLE, R.ROLE_TREE, R.ROLE_TREE_TABLE}
# Their rows and cells are named by their text; a big list would take long to read.
NO_DESCENT = {R.ROLE_LIST, R.ROLE_LIST_BOX, R.ROLE_TABLE, R.ROLE_TREE, R.ROLE_TREE_TABLE}
WINDOWS = {R.ROLE_FRAME, R.ROLE_DIALOG, R.ROLE_WINDOW, R.ROLE_ALERT, R.ROLE_INTERNAL_FRAME}

# Keys pressed (xdotool words), then the title of the window they open (a
# message box if the title ends in "!"); each window is read, then the next
# keys go to it.
STEPS = [
    ("", "Vellumar 95"),
    ("F4", "New Spellbook Parameters"),
    ("Return", "untitled"),
    ("alt+e s", "Scroll Spells"),
    ("Escape alt+e n", "Edit Spell Data"),
    ("Escape alt+f p p Return", "Print Preview"),
    ("alt+o", "Output Format"),
    ("Escape alt+s", "Printer Setup"),
    ("Escape Escape alt+o d", "Data Directory"),
    ("Escape alt+o o", "Spell Frequency Odds"),
    ("Escape alt+o Up Return", "Specialty Maintenance"),
    ("Escape alt+h a", "About Vellumar"),
    ("Escape alt+h c", "Vellumar Help"),
    ("ctrl+f", "Vellumar Help"),
    ("alt+F4 alt+o v", "Master Spell List"),
    ("alt+f c", "Vellumar 95!"),
]


def showing(node):
    return node.getState().contains(R.STATE_SHOWING)


def children(node):
    return [c for c in (node[i] for i in range(node.childCount)) if c is not None]


def find_window(node, title, depth=0):
    roles = {R.ROLE_ALERT, R.ROLE_DIALOG} if title.endswith("!") else WINDOWS
    if node.getRole() in roles and node.name == title.rstrip("!") and showing(node):
        return node
    if depth < 3:
        for child in children(node):
            found = find_window(child, title, depth + 1)
            if found:
                return found
    return None


def unnamed(node, path, out):
    if not showing(node):
        return
    path = f"{path} / {node.getIndexInParent()}:{node.getRoleName()} '{node.name}'"
    if node.getRole() in CONTROLS and not node.name.strip():
        out.add(path)
    if node.getRole() not in NO_DESCENT:
        for child in children(node):
            unnamed(child, path, out)


def application(pid, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        for app in children(pyatspi.Registry.getDesktop(0)):
            if app.get_process_id() == pid:
                return app
        time.sleep(0.2)
    sys.exit("the program never reached the accessibility bus")


def main():
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    program = subprocess.Popen([sys.argv[1]], env=env)
    try:
        app = application(program.pid, 20)
        found, missed = set(), []
        for keys, title in STEPS:
            if keys:
                subprocess.run(["xdotool", "sleep", "0.3"] + [
                    w for k in keys.split() for w in ("key", "--clearmodifiers", k, "sleep", "0.3")],
                    check=True, timeout=20)
            end = time.monotonic() + 10
            while not (window := find_window(app, title)) and time.monotonic() < end:
                time.sleep(0.2)
            if not window:
                missed.append(f"{keys}: no window '{title}'")
                continue
            time.sleep(0.5)  # its controls settle
            for top in children(app):
                unnamed(top, "", found)
        for line in sorted(found):
            print("unnamed:" + line)
        for line in missed:
            print("not reached: " + line)
        print(f"{len(found)} unnamed controls, {len(STEPS) - len(missed)} of {len(STEPS)} steps")
        return 1 if found or len(missed) > len(STEPS) // 2 else 0
    finally:
        program.kill()
        program.wait(timeout=10)


if __name__ == "__main__":
    sys.exit(main())
