#!/usr/bin/env bash
# Runs the program on one example script in a fresh folder and checks what it
# prints and the pictures it writes against examples/expected/<name>.txt:
#   desktop: <file>          the example desktop to load
#   picture: <file> <W>x<H>  a PNG the script must write, and its size
#   stderr: <line>           a refusal the script must print (no others)
#   status: <n>              the exit status, 0 when left out
#   anything else            a line standard output must hold, in this order
set -uo pipefail
program=$1 examples=$2 name=$3
expected="$examples/expected/$name.txt"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
export XDG_CONFIG_HOME="$folder/config" XDG_DATA_HOME="$folder/data"
export XDG_CACHE_HOME="$folder/cache" XDG_RUNTIME_DIR="$folder/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

desktop=$(sed -n 's/^desktop: //p' "$expected")
cd "$folder" || exit 1
"$program" --desktop "$examples/$desktop" --script "$examples/$name.script" \
    >out.txt 2>err.txt </dev/null
status=$?
failed=0
fail() { echo "$name: $*"; failed=1; }
expectedStatus=$(sed -n 's/^status: //p' "$expected")
[ "$status" -eq "${expectedStatus:-0}" ] || fail "the program ended with status $status"

# The expected output lines, in order, among those printed.
next=1
mapfile -t printed <out.txt
while IFS= read -r line; do
    case "$line" in desktop:* | picture:* | stderr:* | status:* | '') continue ;; esac
    while [ "$next" -le "${#printed[@]}" ] && [ "${printed[next - 1]}" != "$line" ]; do
        next=$((next + 1))
    done
    if [ "$next" -gt "${#printed[@]}" ]; then
        fail "missing, or out of order: $line"
        next=1
    else
        next=$((next + 1))
    fi
done <"$expected"

diff <(sed -n 's/^stderr: //p' "$expected") err.txt >/dev/null ||
    fail "standard error differs:$(printf '\n%s' "$(cat err.txt)")"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
while read -r file size; do
    [ -f "$file" ] || { fail "no picture $file"; continue; }
    read -r width height < <(od -An -tu1 -j16 -N8 "$file" |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "${width}x${height}" = "$size" ] || fail "$file is ${width}x${height}, not $size"
done < <(sed -n 's/^picture: //p' "$expected")

[ "$failed" -eq 0 ] || { echo "--- printed:"; cat out.txt; exit 1; }
echo "$name: as expected"
