#!/usr/bin/env bash
# Fails when a file under src/ includes a header of a layer above its own.
# A file's layer is told by its path alone, the rule src/CMakeLists.txt builds
# the libraries by:
#   platform/audio/               audio     the sound engine
#   platform/windows/, app/windows/, <folder>/windows/
#                                 windows   everything that makes a QWidget
#   platform/                     platform  the operating system's stand-ins
#   app/program/                  program   the program object and main
#   app/, formats/                core      process values, settings, helpers
#   data/                         data      the species database
#   any other folder              models    the subsystems' logic
# Includes are read as the compiler reads them: relative to src/, or else to
# the including file's folder.
#   check-layers.sh [SRC_DIR]     (default: the src/ beside this script)
set -euo pipefail
cd "${1:-$(dirname "$0")/../src}"

# Sets REPLY to the layer of a path relative to src/.
layer_of() {
  case $1 in
    platform/audio/*) REPLY=audio ;;
    */windows/*) REPLY=windows ;;
    platform/*) REPLY=platform ;;
    app/program/*) REPLY=program ;;
    app/* | formats/*) REPLY=core ;;
    data/*) REPLY=data ;;
    */*) REPLY=models ;;
    *) REPLY=unknown ;;
  esac
}

# What each layer may include besides itself: everything below it.
declare -A below=(
  [platform]=""
  [audio]="platform"
  [core]="platform"
  [data]="core platform"
  [models]="data core audio platform"
  [windows]="models data core audio platform"
  [program]="windows models data core audio platform"
)

failures=0
files=$(find . \( -name '*.cpp' -o -name '*.h' \) | sed 's|^\./||' | sort)
for file in $files; do
  layer_of "$file"
  if [[ $REPLY == unknown ]]; then
    echo "src/$file: not in a layer's folder; put it in the folder of its layer"
    failures=$((failures + 1))
  fi
done

# Every quoted include of every file, read in one pass: file, line, header.
while IFS=$'\t' read -r file number header; do
  layer_of "$file"
  layer=$REPLY
  [[ $layer == unknown ]] && continue
  # Paths are relative to src/, or else to the including file's folder.
  folder=.
  [[ $file == */* ]] && folder=${file%/*}
  if [[ ! -f $header && -f $folder/$header ]]; then
    header=$folder/$header
    header=${header#./}
  fi
  [[ -f $header ]] || continue
  layer_of "$header"
  used=$REPLY
  [[ $used == "$layer" || " ${below[$layer]} " == *" $used "* ]] && continue
  echo "src/$file:$number: the $layer layer includes src/$header of the $used layer above it"
  failures=$((failures + 1))
done < <(awk 'match($0, /^[ \t]*#[ \t]*include[ \t]*"[^"]*"/) {
               line = substr($0, RSTART, RLENGTH); sub(/^[^"]*"/, "", line); sub(/"$/, "", line)
               print FILENAME "\t" FNR "\t" line
             }' $files)

if ((failures > 0)); then
  echo "check-layers: $failures include(s) of a layer above or file(s) outside a layer"
  exit 1
fi
echo "check-layers: every include follows the layers"
