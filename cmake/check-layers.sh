#!/usr/bin/env bash
# Holds every source file's quoted includes against the allow-list of layers:
#   check-layers.sh ROOT [LAYERS]   (LAYERS defaults to ROOT/cmake/layers.txt)
# Prints each include that runs up or sideways, each folder missing from the list
# and each circle in it, and fails when there is any.
set -euo pipefail
root=$1
layers=${2:-$root/cmake/layers.txt}

declare -A direct beneath
while IFS= read -r line; do
  line=${line%%#*}
  [[ $line == *:* ]] || continue
  direct[${line%%:*}]=${line#*:}
done <"$layers"

# Every folder beneath one, through the folders named on its line.
below() {
  local folder=$1 found=" " queue next
  read -ra queue <<<"${direct[$folder]}"
  while ((${#queue[@]})); do
    next=${queue[0]}
    queue=("${queue[@]:1}")
    [[ $found == *" $next "* ]] && continue
    found+="$next "
    read -ra more <<<"${direct[$next]-}"
    queue+=("${more[@]}")
  done
  echo "$found"
}

faults=0
for folder in "${!direct[@]}"; do
  beneath[$folder]=$(below "$folder")
  for named in ${direct[$folder]}; do
    if [[ -z ${direct[$named]+set} ]]; then
      echo "$layers: $folder names $named, which has no line"
      faults=$((faults + 1))
    fi
  done
  if [[ ${beneath[$folder]} == *" $folder "* ]]; then
    echo "$layers: $folder is beneath itself"
    faults=$((faults + 1))
  fi
done

files=0
includes=0
while IFS= read -r file; do
  relative=${file#"$root"/}
  layer=$relative
  [[ -n ${direct[$layer]+set} ]] || layer=${relative%/*}
  if [[ -z ${direct[$layer]+set} ]]; then
    echo "$relative: its folder $layer has no line in $layers"
    faults=$((faults + 1))
    continue
  fi
  files=$((files + 1))
  while IFS=: read -r number included; do
    includes=$((includes + 1))
    target=${included%/*}
    [[ $included != */* || $target == "$layer" || ${beneath[$layer]} == *" $target "* ]] && continue
    echo "$relative:$number: includes $included, but $target is not beneath $layer"
    faults=$((faults + 1))
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
    sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/')
done < <(find "$root" \( -path "$root/build*" -o -path "$root/.git" \) -prune -o \
  \( -name '*.cpp' -o -name '*.hpp' \) -print | sort)

echo "$files files, $includes includes checked against $layers: $faults faults"
((faults == 0))
