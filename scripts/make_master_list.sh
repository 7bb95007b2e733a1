#!/usr/bin/env bash
# Makes the sample master list resources/MASTER.DAT from the SRD 5.1 wizard
# spell table (see resources/MASTER.README.md for the rules).
# The table and its licences: resources/data/.
# usage: scripts/make_master_list.sh [srd-wizard-spells.tsv] [MASTER.DAT]
set -euo pipefail
repository=$(cd "$(dirname "$0")/.." && pwd)
input=${1:-$repository/resources/data/srd-wizard-spells.tsv}
output=${2:-$repository/resources/MASTER.DAT}
[ -r "$input" ] || { echo "cannot read the spell table $input" >&2; exit 1; }

# Written beside the output and moved over it only when whole; removed on failure.
partial=$(mktemp "$output.XXXXXX")
trap 'rm -f "$partial"' EXIT

# Book order: by level, then by name with a to z folded (what the program writes).
tail -n +2 "$input" | LC_ALL=C sort -t $'\t' -k2,2n -k1,1f |
LC_ALL=C awk -F '\t' '
BEGIN {
    school["Abjuration"] = "abj";  school["Conjuration"] = "c/s"
    school["Divination"] = "div";  school["Enchantment"] = "e/c"
    school["Evocation"] = "i/e";   school["Illusion"] = "ill"
    school["Necromancy"] = "nec";  school["Transmutation"] = "alt"
}
{
    name = $1; level = $2 + 0; classes = $5
    if (!(($3) in school)) { print "unknown school: " $3 > "/dev/stderr"; exit 1 }
    shared = (classes == "") ? 0 : split(classes, list, ",")
    if (shared >= 3)      letter = "C"
    else if (shared == 2) letter = "U"
    else if (shared == 1) letter = "R"
    else if (level >= 7)  letter = "S"
    else                  letter = "V"
    count[letter]++
    printf "%d,\"%s\",\"SRD 5.1\",0,\"%s\",\"%s\"\r\n", level, name, letter, school[$3]
}
END {
    printf " \r\n"
    # Every frequency must occur, or the sample cannot show them all.
    for (i = 1; i <= 5; i++) {
        letter = substr("CURVS", i, 1)
        if (!(letter in count)) { print "no spell of frequency " letter > "/dev/stderr"; exit 1 }
        printf "%s %d\n", letter, count[letter] > "/dev/stderr"
    }
}' >"$partial"
chmod 644 "$partial"
mv "$partial" "$output"
