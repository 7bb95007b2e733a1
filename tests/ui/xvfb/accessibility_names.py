#!/usr/bin/python3
"""Opens windows from the keyboard and reads them over AT-SPI as a screen reader
does; prints every showing, unnamed control (role and path). Exits 1 on any."""
import os, subprocess, sys, time
import pyatspi as R

CONTROLS = {R.ROLE_PUSH_BUTTON, R.ROLE_TOGGLE_BUTTON, R.ROLE_RADIO_BUTTON, R.ROLE_CHECK_BOX,
            R.ROLE_COMBO_BOX, R.ROLE_TEXT, R.ROLE_ENTRY, R.ROLE_SPIN_BUTTON, R.ROLE_MENU_ITEM,
            R.ROLE_PAGE_TAB, R.ROLE_SLIDER}
VIEWS = {R.ROLE_LIST, R.ROLE_LIST_BOX, R.ROLE_TABLE, R.ROLE_TREE}  # rows skipped
# Keys (xdotool), then the title of the window they open ("!": a message box, an alert).
# No CUPS: Printer Setup offers PDF alone (Qt Page Setup); Escape the dead program's book later.
STEPS = [("", "Recover Unsaved Work"), ("Escape", "Vellumar 95"), ("F4", "New Spellbook Parameters"),
         ("Return", "untitled"), ("alt+f o", "Open Spellbook"), ("Escape alt+e s", "Scroll Spells"),
         ("Escape alt+e n", "Edit Spell Data"), ("Escape alt+f p p Return", "Print Preview"),
         ("alt+o", "Output Format"), ("Tab Tab Tab Tab space Return alt+n", "Print Preview"),  # Spell texts: pages
         ("alt+s", "Printer Setup"), ("Tab Tab space", "Page Setup"),
         ("Escape Escape alt+f", "Select Font"), ("alt+c", "Colour"),
         ("Escape Escape Escape alt+o d", "Data Directory"), ("Escape alt+o o", "Spell Frequency Odds"),
         ("Escape alt+o Up Up Up Return", "Specialty Maintenance"), ("alt+e a", "Add Specailty"),
         ("Escape Escape alt+h a", "About Vellumar"), ("Escape alt+o v ctrl+f a", "Master Spell List"),
         ("Escape ctrl+f Tab Tab Down alt+e e", "Edit Spell Data"), ("Tab Tab Tab Tab Tab Tab space", "Spell Details - Burning Hands"),
         ("Escape Escape alt+f c", "Vellumar 95!"), ("Return F1 ctrl+f a", "Vellumar Help")]
shows = lambda node: node.getState().contains(R.STATE_SHOWING)
kids = lambda node: [c for c in node if c is not None]


def window(node, title, depth=0):
    roles = {R.ROLE_ALERT} if title.endswith("!") else {R.ROLE_FRAME, R.ROLE_DIALOG, R.ROLE_FILLER}
    if node.getRole() in roles and node.name == title.rstrip("!") and shows(node): return node
    return next(filter(None, (window(c, title, depth + 1) for c in kids(node))), None) if depth < 3 else None


def name(node):  # on Linux a combo box's name is its value; a screen reader reads its label
    if node.getRole() != R.ROLE_COMBO_BOX: return node.name
    labels = [r for r in node.getRelationSet() if r.getRelationType() == R.RELATION_LABELLED_BY]
    return " ".join(r.getTarget(i).name for r in labels for i in range(r.getNTargets()))


def unnamed(node, path, out):
    path = f"{path} / {node.getIndexInParent()}:{node.getRoleName()} '{name(node)}'"
    if node.getRole() in CONTROLS | VIEWS and not name(node).strip(): out.add(path)
    for child in [] if node.getRole() in VIEWS else filter(shows, kids(node)): unnamed(child, path, out)


program = subprocess.Popen([sys.argv[1]], env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
found, reached = set(), 0
for keys, title in STEPS:
    subprocess.run(["xdotool", "sleep", "0.6"] + " sleep 0.6 ".join(f"key {k}" for k in keys.split()).split(), timeout=30)
    for _ in range(50):
        app = next((a for a in kids(R.Registry.getDesktop(0)) if a.get_process_id() == program.pid), None)
        if app and window(app, title): break
        time.sleep(0.2)
    else: print(f"not reached: {keys}: '{title}'"); continue
    reached += 1
    time.sleep(0.5)  # its controls settle
    for top in filter(shows, kids(app)): unnamed(top, "", found)
program.kill()
print(*sorted(f"unnamed:{line}" for line in found), f"{len(found)} unnamed, {reached} of {len(STEPS)} windows", sep="\n")
sys.exit(1 if found or reached < len(STEPS) else 0)
