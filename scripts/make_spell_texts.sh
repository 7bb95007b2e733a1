#!/usr/bin/env bash
# Makes resources/MASTER.DAT.texts.json, the rules texts beside the sample
# master list, from the SRD 5.1 wizard spell details (resources/data/). It is
# written as the program writes the companion file (the fields in the
# program's order, two blanks of indent, a final line end, entries by level and
# name), so that saving the unchanged sample master list rewrites it as it was.
# usage: scripts/make_spell_texts.sh [srd-wizard-spell-details.json] [MASTER.DAT.texts.json]
set -euo pipefail
repository=$(cd "$(dirname "$0")/.." && pwd)
input=${1:-$repository/resources/data/srd-wizard-spell-details.json}
output=${2:-$repository/resources/MASTER.DAT.texts.json}
[ -r "$input" ] || { echo "cannot read the spell details $input" >&2; exit 1; }

# Written beside the output and moved over it only when whole; removed on failure.
partial=$(mktemp "$output.XXXXXX")
trap 'rm -f "$partial"' EXIT

python3 - "$input" "$partial" <<'PYTHON'
import json
import sys

FIELDS = ["name", "level", "school", "casting_time", "range", "components", "material",
          "ritual", "concentration", "duration", "description", "higher_levels"]

UPPER_A_TO_Z = str.maketrans("abcdefghijklmnopqrstuvwxyz", "ABCDEFGHIJKLMNOPQRSTUVWXYZ")

with open(sys.argv[1], encoding="utf-8") as source:
    spells = json.load(source)
for spell in spells:
    missing = [field for field in FIELDS if field not in spell]
    if missing:
        sys.exit(f"{spell.get('name', '?')}: no {', '.join(missing)}")
# The program's order: by level, then by name with a to z folded.
spells.sort(key=lambda spell: (spell["level"], spell["name"].translate(UPPER_A_TO_Z)))
ordered = [{field: spell[field] for field in FIELDS} |
           {key: value for key, value in spell.items() if key not in FIELDS}
           for spell in spells]
with open(sys.argv[2], "w", encoding="utf-8", newline="\n") as target:
    target.write(json.dumps(ordered, indent=2, ensure_ascii=False) + "\n")
PYTHON
chmod 644 "$partial"
mv "$partial" "$output"
