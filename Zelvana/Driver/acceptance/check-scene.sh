#!/usr/bin/env bash
# Runs the program on a scene's script in a fresh folder and compares the
# picture it writes with the stored reference (ComparePictures says how).
#   check-scene.sh <program> <compare> <examples> <script> <picture> <reference> <out>
# A failed scene leaves its picture and a picture of the changes in <out>.
# With ZELVANA_RENEW_SCENES=1 the new picture replaces the reference instead.
set -uo pipefail
program=$1 compare=$2 examples=$3 script=$4 picture=$5 reference=$6 out=$7
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
export XDG_CONFIG_HOME="$folder/config" XDG_DATA_HOME="$folder/data"
export XDG_CACHE_HOME="$folder/cache" XDG_RUNTIME_DIR="$folder/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cd "$folder" || exit 1
# A scene with a desktop of its own beside its script plays on it.
desktop="${script%.script}.json"
[ -f "$desktop" ] || desktop="$examples/desktop.json"
"$program" --desktop "$desktop" --script "$script" >out.txt 2>err.txt </dev/null
status=$?
name=$(basename "$reference" .png)
[ "$status" -eq 0 ] || { echo "$name: the program ended with status $status"; cat err.txt; exit 1; }
[ -f "$picture" ] || { echo "$name: no picture $picture"; cat out.txt err.txt; exit 1; }
if [ "${ZELVANA_RENEW_SCENES:-0}" = 1 ]; then
    cp "$picture" "$reference" && echo "$name: reference renewed" && exit 0
fi
mkdir -p "$out"
if ! "$compare" "$reference" "$picture" "$out/$name-changes.png"; then
    cp "$picture" "$out/$name.png"
    echo "$name: differs from $reference; see $out/$name.png and $out/$name-changes.png"
    exit 1
fi
echo "$name: as the reference"
