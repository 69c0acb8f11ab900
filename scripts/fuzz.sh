#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in their own build
# directory and runs each for a bounded time on a corpus seeded from the demo
# edition. Fails on any crash, sanitizer report or leak.
#   KORVELAN_FUZZ_SECONDS  seconds per target (default 20)
#   KORVELAN_FUZZ_TARGETS  the targets to run (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."

build="$PWD/build-fuzz"
seconds="${KORVELAN_FUZZ_SECONDS:-20}"
targets="${KORVELAN_FUZZ_TARGETS:-data_fuzzer audio_fuzzer}"
jobs=$(nproc)

mkdir -p "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DKORVELAN_FUZZ=ON -DKORVELAN_TESTS=ON -DKORVELAN_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
  > "$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
# shellcheck disable=SC2086
cmake --build "$build" -j "$jobs" --target $targets

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Seeds of the data files: edition byte 0 (the demo's edition), then the ten demo files.
seed_data_fuzzer() {
  {
    printf '\0'
    first=1
    for f in mapsdata people names_sc taxa locality big_pict othermedia cutparts cupaitem syst_ord; do
      [ $first -eq 1 ] || printf '\n##FILE##\n'
      first=0
      cat "editions/demo/$f.txt"
    done
  } > "$1/demo"
}

# Seeds of the sound files: the head of one demo recording of each format.
seed_audio_fuzzer() {
  local base=editions/demo/base
  head -c 24000 "$base/tapes/1603/A01.WAV" > "$1/pcm.wav"
  head -c 12000 "$base/tapes/1101/B01_MF.WAV" > "$1/mp3-in-wav.wav"
  head -c 12000 "$base/tapes/1305/A01_WM.WMA" > "$1/wma.wma"
  head -c 12000 "$base/Audio CDs/Yungas1/Track 01.mp3" > "$1/raw.mp3"
}

max_len_data_fuzzer=262144
max_len_audio_fuzzer=32768

for target in $targets; do
  seeds="$build/fuzz-seeds/$target"
  corpus="$build/fuzz-corpus/$target"
  mkdir -p "$seeds" "$corpus"
  "seed_$target" "$seeds"
  max_len_var="max_len_$target"
  "$build/bin/$target" -max_total_time="$seconds" -max_len="${!max_len_var}" -timeout=20 \
    -rss_limit_mb=2048 -close_fd_mask=2 -print_final_stats=1 "$corpus" "$seeds"
  echo "Fuzzing $target: no failure in $seconds s."
done
