#!/usr/bin/env bash
# Checks that the README lists every line the examples must print: each
# standard output line of examples/expected/*.txt is one of the output lines
# of the README's table, and each refusal is a `script line <n>: <reason>`.
set -uo pipefail
readme=$1 examples=$2
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

# A listed line as a pattern: <name> stands for any text, and a closing
# "| <cell> ..." for none or more such cells.
toPattern() {
    sed -e 's/ \x01 <[^>]*> \.\.\.$/\x02/' -e 's/[][\.^$*+?(){}|/]/\\&/g' -e 's/<[^>]*>/.*/g' \
        -e 's/\x01/\\|/g' -e 's/\x02/( \\| .*)*/'
}

# The first cell of each row of the table after "Output, one line each", its
# escaped pipes kept apart from the cell borders.
awk '/^Output, one line each/ { table = 1; next }
     table && /^\| `/ {
         row = $0; gsub(/\\\|/, "\001", row)
         cell = substr(row, 3); cell = substr(cell, 1, index(cell, " | ") - 1)
         while (match(cell, /`[^`]*`/)) {
             print substr(cell, RSTART + 1, RLENGTH - 2); cell = substr(cell, RSTART + RLENGTH)
         }
     }
     table && /^$/ && listed { exit }
     table && /^\|/ { listed = 1 }' "$readme" | toPattern >"$folder/output"
grep -o '`script line <n>: <reason>`' "$readme" | tr -d '`' | toPattern >"$folder/refusals"
[ -s "$folder/output" ] || { echo "README: no output lines found"; exit 1; }
[ -s "$folder/refusals" ] || { echo "README: no refusal line found"; exit 1; }

failed=0
for expected in "$examples"/expected/*.txt; do
    name=$(basename "$expected" .txt)
    while IFS= read -r line; do
        echo "$name: the README does not list: $line"
        failed=1
    done < <(grep -vE '^(desktop|picture|status|stderr):|^$' "$expected" |
        grep -vxEf "$folder/output")
    while IFS= read -r line; do
        echo "$name: the README does not list the refusal: $line"
        failed=1
    done < <(sed -n 's/^stderr: //p' "$expected" | grep -vxEf "$folder/refusals")
done
[ "$failed" -eq 0 ] && echo "README: every example line is listed"
exit "$failed"
