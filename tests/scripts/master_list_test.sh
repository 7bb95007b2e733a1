#!/usr/bin/env bash
# scripts/make_master_list.sh from the table kept in the repository: it makes
# the committed sample master list again, and a table it refuses leaves the
# old output and no half-written file behind.
# usage: master_list_test.sh SOURCE_DIR
set -euo pipefail
source=${1:?usage: master_list_test.sh SOURCE_DIR}

fail() {
    echo "FAILED: $*" >&2
    exit 1
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The default table is the repository's own, found from any folder.
(cd "$tmp" && "$source/scripts/make_master_list.sh" "" "$tmp/MASTER.DAT") 2>"$tmp/err" ||
    { cat "$tmp/err"; fail "the default table"; }
cmp -s "$tmp/MASTER.DAT" "$source/resources/MASTER.DAT" ||
    fail "the table no longer makes resources/MASTER.DAT"
[ "$(stat -c %a "$tmp/MASTER.DAT")" = 644 ] || fail "the master list is not mode 644"

# Refused tables: an unknown school, and a frequency no spell has.
cp "$tmp/MASTER.DAT" "$tmp/before"
printf 'name\tlevel\tschool\tpage\tclasses\nAlarm\t1\tCartography\t\tRanger\n' >"$tmp/school.tsv"
head -n 2 "$source/resources/data/srd-wizard-spells.tsv" >"$tmp/one.tsv"
for table in "$tmp/school.tsv" "$tmp/one.tsv" "$tmp/missing.tsv"; do
    "$source/scripts/make_master_list.sh" "$table" "$tmp/MASTER.DAT" 2>"$tmp/err" &&
        fail "$(basename "$table") was accepted"
    cmp -s "$tmp/MASTER.DAT" "$tmp/before" || fail "$(basename "$table") changed the output"
    left=$(find "$tmp" -name 'MASTER.DAT?*')
    [ -z "$left" ] || fail "$(basename "$table") left $left behind"
done
echo "master list test passed"
