#!/usr/bin/env bash
# Holds every source file's quoted includes against the allow-list of layers:
#   check-layers.sh ROOT [LAYERS]   (LAYERS defaults to ROOT/cmake/layers.txt)
# Prints each include that runs up or sideways, each folder missing from the list
# and each circle in it, and fails when there is any. One awk pass reads the list and
# every file, so the check stays well under a second for a thousand files.
set -euo pipefail
root=$1
layers=${2:-$root/cmake/layers.txt}

find "$root" \( -path "$root/build*" -o -path "$root/.git" \) -prune -o \
  \( -name '*.cpp' -o -name '*.hpp' \) -print | sort |
  awk -v root="$root" -v layers="$layers" '
    function trim(s) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s }

    # Every folder beneath one, through the folders named on its line, as " a b c ".
    function below(folder,    found, queue, head, tail, next_, n, more, i) {
      found = " "
      tail = split(direct[folder], queue, " ")
      head = 1
      while (head <= tail) {
        next_ = queue[head++]
        if (index(found, " " next_ " ")) continue
        found = found next_ " "
        # Reading direct[] of a missing folder would add it, hiding the fault below.
        n = (next_ in direct) ? split(direct[next_], more, " ") : 0
        for (i = 1; i <= n; i++) queue[++tail] = more[i]
      }
      return found
    }

    FILENAME == layers {
      line = $0
      sub(/#.*/, "", line)
      colon = index(line, ":")
      if (!colon) next
      direct[trim(substr(line, 1, colon - 1))] = trim(substr(line, colon + 1))
      next
    }

    function checkList(    folder, named, n, i) {
      checkedList = 1
      for (folder in direct) {
        beneath[folder] = below(folder)
        n = split(direct[folder], named, " ")
        for (i = 1; i <= n; i++)
          if (!(named[i] in direct)) {
            print layers ": " folder " names " named[i] ", which has no line"
            faults++
          }
        if (index(beneath[folder], " " folder " ")) {
          print layers ": " folder " is beneath itself"
          faults++
        }
      }
    }

    !checkedList { checkList() }

    {
      file = $0
      relative = substr(file, length(root) + 2)
      layer = relative
      if (!(layer in direct)) sub(/\/[^\/]*$/, "", layer)
      if (!(layer in direct)) {
        print relative ": its folder " layer " has no line in " layers
        faults++
        next
      }
      files++
      number = 0
      while ((getline text < file) > 0) {
        number++
        if (text !~ /^[ \t]*#[ \t]*include[ \t]*"/) continue
        includes++
        included = text
        sub(/^[^"]*"/, "", included)
        sub(/".*/, "", included)
        if (included !~ /\//) continue
        target = included
        sub(/\/[^\/]*$/, "", target)
        if (target == layer || index(beneath[layer], " " target " ")) continue
        print relative ":" number ": includes " included ", but " target " is not beneath " layer
        faults++
      }
      close(file)
    }

    END {
      if (!checkedList) checkList()
      print files + 0 " files, " includes + 0 " includes checked against " layers ": " faults + 0 " faults"
      exit faults > 0
    }
  ' "$layers" -
