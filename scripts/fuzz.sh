#!/usr/bin/env bash
# Builds the data-file fuzz target with clang and libFuzzer in its own build
# directory and runs it for a bounded time on a corpus seeded from the demo
# edition. Fails on any crash, sanitizer report or leak.
set -euo pipefail
cd "$(dirname "$0")/.."

build="$PWD/build-fuzz"
seconds="${KORVELAN_FUZZ_SECONDS:-60}"
jobs=$(nproc)

mkdir -p "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DKORVELAN_FUZZ=ON -DKORVELAN_TESTS=ON -DKORVELAN_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
  > "$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j "$jobs" --target data_fuzzer

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
