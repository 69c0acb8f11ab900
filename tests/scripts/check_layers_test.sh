#!/usr/bin/env bash
# The layer check passes on the tree as it is and fails, naming the file and
# the header, on an include planted against the layers.
set -euo pipefail
source_dir=$1
check=$source_dir/scripts/check-layers.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$check" "$source_dir/src" > /dev/null

# Plants the include into a copy of src/ and expects the check to fail on it.
expect_caught() {
  local file=$1 header=$2
  rm -rf "$work/src"
  cp -r "$source_dir/src" "$work/src"
  printf '#include "%s"\n' "$header" >> "$work/src/$file"
  if output=$("$check" "$work/src" 2>&1); then
    echo "not caught: $file including $header"
    exit 1
  fi
  grep -q "src/$file:.*src/$header" <<< "$output" || {
    echo "caught without naming $file and $header:"
    echo "$output"
    exit 1
  }
}

expect_caught listview/show_strings_model.cpp listview/windows/child_form.h  # a model uses a window
expect_caught data/taxa.cpp listview/line_texts.h                            # the database uses a model
expect_caught platform/ini_store.cpp app/settings.h                          # the platform uses core
expect_caught app/settings.cpp platform/audio/media_control.h               # core uses the engine
expect_caught playlists/windows/playlist_form.cpp app/program/program.h     # a window uses the program
echo "check-layers catches every planted include"
