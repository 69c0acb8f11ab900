#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in their own build
# directory and runs each for a bounded time on a corpus seeded from the demo
# edition: the data files, compressed files, bitmap files and JPEG files.
# Fails on any crash, sanitizer report or leak.
set -euo pipefail
cd "$(dirname "$0")/.."

build="$PWD/build-fuzz"
seconds="${KORVELAN_FUZZ_SECONDS:-60}"
picture_seconds="${KORVELAN_PICTURE_FUZZ_SECONDS:-15}"
jobs=$(nproc)

mkdir -p "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DKORVELAN_FUZZ=ON -DKORVELAN_TESTS=ON -DKORVELAN_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
  > "$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j "$jobs" --target data_fuzzer lzw_fuzzer bitmap_fuzzer jpeg_fuzzer

# The starting input: edition byte 0 (the demo's edition), then the ten demo files.
seeds="$build/fuzz-seeds"
corpus="$build/fuzz-corpus"
mkdir -p "$seeds" "$corpus"
{
  printf '\0'
  first=1
  for f in mapsdata people names_sc taxa locality big_pict othermedia cutparts cupaitem syst_ord; do
    [ $first -eq 1 ] || printf '\n##FILE##\n'
    first=0
    cat "editions/demo/$f.txt"
  done
} > "$seeds/demo"

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/bin/data_fuzzer" -max_total_time="$seconds" -max_len=262144 -timeout=20 \
  -rss_limit_mb=2048 -close_fd_mask=2 -print_final_stats=1 "$corpus" "$seeds"
echo "Fuzzing the data files: no failure in $seconds s."

# The picture loaders, each on its own corpus seeded with the demo's files.
fuzz_pictures() {
  local target=$1 seeds="$build/$1-seeds" corpus="$build/$1-corpus"
  shift
  mkdir -p "$seeds" "$corpus"
  for f in "$@"; do cp "$f" "$seeds/$(echo "$f" | tr '/' '_')"; done
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/bin/$target" -max_total_time="$picture_seconds" -max_len=1048576 -timeout=20 \
    -rss_limit_mb=2048 -close_fd_mask=2 -print_final_stats=1 "$corpus" "$seeds"
  echo "Fuzzing with $target: no failure in $picture_seconds s."
}
base=editions/demo/base
fuzz_pictures lzw_fuzzer $(grep -l "^Marvek's compression format" -r "$base/distmaps" | head -4)
fuzz_pictures bitmap_fuzzer $(find "$base/distmaps" -name '*.bmp' | sort | head -8)
fuzz_pictures jpeg_fuzzer $(find "$base/smalpict" -name '*.jpg' | sort | head -4)
