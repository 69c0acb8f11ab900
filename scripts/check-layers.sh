#!/usr/bin/env bash
# Fails when a file under src/ includes a header of a library that its own
# library does not depend on. Which file belongs to which library, and which
# library links which, is read from the build's own lists: src/CMakeLists.txt
# and every src/**/sources.cmake (target_sources, target_link_libraries). A
# header belongs to the library of the .cpp file beside it with the same
# name, or to the library that lists it.
set -euo pipefail
cd "$(dirname "$0")/../src"

facts=$(mktemp)
trap 'rm -f "$facts"' EXIT
lists=(CMakeLists.txt $(find . -name sources.cmake | sed 's|^\./||' | sort))

awk '
  # Reads every list file as one stream of words, comments dropped.
  function flush_command() {
    if (command == "target_link_libraries" && words[1] ~ /^korvelan/) {
      for (i = 2; i <= count; ++i)
        if (words[i] ~ /^korvelan/) depends[words[1], words[i]] = 1
      targets[words[1]] = 1
    } else if (command == "target_sources" && words[1] ~ /^korvelan/) {
      targets[words[1]] = 1
      for (i = 2; i <= count; ++i) {
        file = words[i]
        if (file ~ /^(PRIVATE|PUBLIC|INTERFACE)$/) continue
        if (sub(/^\$\{CMAKE_CURRENT_LIST_DIR\}\//, "", file)) file = list_dir file
        else if (file !~ /\//) file = list_dir file
        owner[file] = words[1]
      }
    } else if (command == "add_library" || command == "add_executable") {
      targets[words[1]] = 1
    }
    command = ""; count = 0
  }
  FNR == 1 {
    list_dir = FILENAME; sub(/[^\/]*$/, "", list_dir)
  }
  {
    line = $0; sub(/#.*/, "", line)
    while (length(line) > 0) {
      if (command == "") {
        if (match(line, /(target_link_libraries|target_sources|add_library|add_executable)[ \t]*\(/)) {
          command = substr(line, RSTART, RLENGTH); sub(/[ \t]*\($/, "", command)
          line = substr(line, RSTART + RLENGTH)
        } else break
      }
      if (match(line, /\)/)) {
        inside = substr(line, 1, RSTART - 1); line = substr(line, RSTART + 1)
        n = split(inside, parts, /[ \t]+/)
        for (j = 1; j <= n; ++j) if (parts[j] != "") words[++count] = parts[j]
        flush_command()
      } else {
        n = split(line, parts, /[ \t]+/)
        for (j = 1; j <= n; ++j) if (parts[j] != "") words[++count] = parts[j]
        line = ""
      }
    }
  }
  END {
    # Every library reaches what its links reach.
    changed = 1
    while (changed) {
      changed = 0
      for (a in targets) for (b in targets) for (c in targets)
        if (((a, b) in depends) && ((b, c) in depends) && !((a, c) in depends)) {
          depends[a, c] = 1; changed = 1
        }
    }
    for (f in owner) print "owner", f, owner[f]
    for (a in targets) for (b in targets) if ((a, b) in depends) print "depends", a, b
  }
' "${lists[@]}" > "$facts"

declare -A owner depends
while read -r kind a b; do
  case "$kind" in
    owner) owner[$a]=$b ;;
    depends) depends[$a,$b]=1 ;;
  esac
done < "$facts"

# Sets REPLY to the library of the file, empty when none lists it.
library_of() {
  REPLY=${owner[$1]:-}
  if [[ -z $REPLY && $1 == *.h ]]; then REPLY=${owner[${1%.h}.cpp]:-}; fi
}

failures=0
while IFS= read -r file; do
  library_of "$file"
  library=$REPLY
  if [[ -z $library ]]; then
    echo "src/$file: in no library; list it in target_sources of its folder's sources.cmake"
    failures=$((failures + 1))
    continue
  fi
  while IFS=: read -r number header; do
    # Paths are relative to src/, or to the including file's folder.
    if [[ ! -f $header && -f $(dirname "$file")/$header ]]; then
      header=$(dirname "$file")/$header
      header=${header#./}
    fi
    [[ -f $header ]] || continue
    library_of "$header"
    used=$REPLY
    [[ -z $used || $used == "$library" || -n "${depends[$library,$used]:-}" ]] && continue
    echo "src/$file:$number: includes src/$header of $used, which $library does not depend on"
    failures=$((failures + 1))
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
           sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/')
done < <(find . \( -name '*.cpp' -o -name '*.h' \) | sed 's|^\./||' | sort)

if ((failures > 0)); then
  echo "check-layers: $failures wrong include(s) or unlisted file(s)"
  exit 1
fi
echo "check-layers: every include follows the layers"
