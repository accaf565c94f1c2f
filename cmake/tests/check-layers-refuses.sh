#!/usr/bin/env bash
# The layer check refuses each kind of fault and passes a clean tree.
set -euo pipefail
checker=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{low,high,side,stray}
printf 'low:\nhigh: low\n' >"$tree/layers.txt"
echo '#include "low/a.hpp"' >"$tree/high/b.cpp"
bash "$checker" "$tree" "$tree/layers.txt" >/dev/null

echo '  #  include "high/b.hpp"' >"$tree/low/up.cpp"
echo '#include "side/c.hpp"' >"$tree/high/sideways.cpp"
echo >"$tree/stray/d.cpp"
printf 'side: missing\nloop: circle\ncircle: loop\n' >>"$tree/layers.txt"
if out=$(bash "$checker" "$tree" "$tree/layers.txt"); then
  echo "a tree with faults passed"; exit 1
fi
for fault in 'low/up.cpp:1: includes high/b.hpp, but high is not beneath low' \
  'high/sideways.cpp:1: includes side/c.hpp, but side is not beneath high' \
  'stray/d.cpp: its folder stray has no line' 'side names missing, which has no line' \
  'loop is beneath itself' 'circle is beneath itself' ': 6 faults'; do
  grep -qF "$fault" <<<"$out" || { echo "missing: $fault"; echo "$out"; exit 1; }
done
