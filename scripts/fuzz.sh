#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in their own build
# directory and runs each for a bounded time on a corpus seeded from the demo
# edition or from sounds made here. Fails on any crash, sanitizer report or
# leak. KORVELAN_FUZZ_SECONDS sets one time for every target.
set -euo pipefail
cd "$(dirname "$0")/.."

build="$PWD/build-fuzz"
jobs=$(nproc)
targets=(data_fuzzer sound_streams_fuzzer)

mkdir -p "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DKORVELAN_FUZZ=ON -DKORVELAN_TESTS=ON -DKORVELAN_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
  > "$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"

# run TARGET SECONDS MAX_LEN SEED_DIR
run() {
  local corpus="$build/fuzz-corpus-$1"
  mkdir -p "$corpus"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/bin/$1" -max_total_time="$2" -max_len="$3" -timeout=20 \
    -rss_limit_mb=2048 -close_fd_mask=2 -print_final_stats=1 "$corpus" "$4"
  echo "Fuzzing with $1: no failure in $2 s."
}

# The data files: edition byte 0 (the demo's edition), then the ten demo files.
seeds="$build/fuzz-seeds"
mkdir -p "$seeds"
{
  printf '\0'
  first=1
  for f in mapsdata people names_sc taxa locality big_pict othermedia cutparts cupaitem syst_ord; do
    [ $first -eq 1 ] || printf '\n##FILE##\n'
    first=0
    cat "editions/demo/$f.txt"
  done
} > "$seeds/demo"
run data_fuzzer "${KORVELAN_FUZZ_SECONDS:-60}" 262144 "$seeds"

# The sound streams: a choice byte (odd: a WAV file), slice start and length,
# then a short MP3 file or MP3 inside a WAV file.
sound_seeds="$build/fuzz-seeds-sound"
mkdir -p "$sound_seeds"
if command -v ffmpeg > /dev/null; then
  ffmpeg -v error -y -f lavfi -i sine=duration=1 -ar 32000 -b:a 32k -c:a libmp3lame "$sound_seeds/a.mp3"
  ffmpeg -v error -y -f lavfi -i sine=duration=1 -ar 32000 -b:a 32k -c:a libmp3lame -f wav "$sound_seeds/a.wav"
  { printf '\002\003\005'; cat "$sound_seeds/a.mp3"; } > "$sound_seeds/mp3"
  { printf '\003\003\005'; cat "$sound_seeds/a.wav"; } > "$sound_seeds/wav"
  rm "$sound_seeds/a.mp3" "$sound_seeds/a.wav"
else
  # One hand-made frame: MPEG-1 Layer III, 32 kbit/s at 32000 Hz (144 bytes).
  { printf '\002\000\005\377\373\030\104'; head -c 140 /dev/zero; } > "$sound_seeds/frame"
fi
run sound_streams_fuzzer "${KORVELAN_FUZZ_SECONDS:-20}" 65536 "$sound_seeds"
