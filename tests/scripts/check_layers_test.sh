#!/usr/bin/env bash
# The layer check passes on the tree as it is and fails, naming the file and
# the header, on an include planted against the layers.
set -euo pipefail
source_dir=$1
check=$source_dir/scripts/check-layers.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$check" "$source_dir/src" > /dev/null

# Plants each include into one copy of src/; the check must fail naming
# every one of them.
cp -r "$source_dir/src" "$work/src"
planted=(
  "listview/show_strings_model.cpp listview/windows/child_form.h"    # a model uses a window
  "data/taxa.cpp listview/line_texts.h"                               # the database uses a model
  "platform/ini_store.cpp app/settings.h"                             # the platform uses core
  "app/settings.cpp platform/audio/media_control.h"                  # core uses the engine
  "playlists/windows/playlist_form.cpp app/program/program.h"        # a window uses the program
)
for pair in "${planted[@]}"; do
  read -r file header <<< "$pair"
  printf '#include "%s"\n' "$header" >> "$work/src/$file"
done
if output=$("$check" "$work/src" 2>&1); then
  echo "the check passed a tree with wrong includes"
  exit 1
fi
for pair in "${planted[@]}"; do
  read -r file header <<< "$pair"
  grep -q "src/$file:.*src/$header" <<< "$output" || {
    echo "not caught: $file including $header:"
    echo "$output"
    exit 1
  }
done
[ "$(grep -c ': the .* layer includes ' <<< "$output")" -eq ${#planted[@]} ] || {
  echo "the check named more than the planted includes:"
  echo "$output"
  exit 1
}
echo "check-layers catches every planted include"
