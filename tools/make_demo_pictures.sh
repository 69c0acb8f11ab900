#!/usr/bin/env bash
# Draws the demo edition's pictures and distribution bitmaps into
# editions/demo/base/ (smalpict/, big_pict/, distmaps/), replacing those
# folders. Builds the drawing program first when needed.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${KORVELAN_BUILD_DIR:-build}"
[ -f "$build/build.ninja" ] || [ -f "$build/Makefile" ] || cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target korvelan_make_demo_pictures -j2 >/dev/null
base=editions/demo/base
rm -rf "$base/smalpict" "$base/big_pict" "$base/distmaps"
mkdir -p "$base"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
QT_QPA_PLATFORM=offscreen "$build/bin/korvelan_make_demo_pictures" editions/demo "$base"
du -sh "$base/smalpict" "$base/big_pict" "$base/distmaps"
