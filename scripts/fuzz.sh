#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in their own build
# directory and runs each for a bounded time on a corpus seeded from the demo
# edition or from files made here. Fails on any crash, sanitizer report or
# leak.
#   KORVELAN_FUZZ_SECONDS  seconds per target (default 20; the data files get twice that)
#   KORVELAN_FUZZ_TARGETS  the targets to run (default: all)
#   KORVELAN_FUZZ_BUILD    a clang build made with KORVELAN_FUZZ=ON to use as it is
#                          (the test command's sanitizer build); default: its own
set -euo pipefail
cd "$(dirname "$0")/.."

build="${KORVELAN_FUZZ_BUILD:-$PWD/build-fuzz}"
seconds="${KORVELAN_FUZZ_SECONDS:-20}"
all_targets="data_fuzzer sound_streams_fuzzer audio_fuzzer lzw_fuzzer bitmap_fuzzer jpeg_fuzzer playlist_fuzzer"
targets=""
for t in ${KORVELAN_FUZZ_TARGETS:-$all_targets}; do
  # A target whose source is not in this tree is left out.
  [ -n "$(find tests -name "$t.cpp" -print -quit)" ] && targets="$targets $t"
done
jobs=$(nproc)
base=editions/demo/base

if [ -z "${KORVELAN_FUZZ_BUILD:-}" ]; then
  mkdir -p "$build"
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DKORVELAN_FUZZ=ON -DKORVELAN_TESTS=ON -DKORVELAN_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
    > "$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
fi
# shellcheck disable=SC2086
cmake --build "$build" -j "$jobs" --target $targets

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=offscreen

# The data files: edition byte 0 (the demo's edition), then the ten demo files.
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

# The sound streams: a choice byte (odd: a WAV file), slice start and length,
# then an MP3 file or MP3 inside a WAV file.
seed_sound_streams_fuzzer() {
  { printf '\002\003\005'; head -c 12000 "$base/Audio CDs/Yungas1/Track 01.mp3"; } > "$1/mp3"
  { printf '\003\003\005'; head -c 12000 "$base/tapes/1101/B01_MF.WAV"; } > "$1/wav"
}

# The sound engine: the head of one demo recording of each format.
seed_audio_fuzzer() {
  head -c 24000 "$base/tapes/1603/A01.WAV" > "$1/pcm.wav"
  head -c 12000 "$base/tapes/1101/B01_MF.WAV" > "$1/mp3-in-wav.wav"
  head -c 12000 "$base/tapes/1305/A01_WM.WMA" > "$1/wma.wma"
  head -c 12000 "$base/Audio CDs/Yungas1/Track 01.mp3" > "$1/raw.mp3"
}

copy_seeds() {
  local dir=$1; shift
  for f in "$@"; do cp "$f" "$dir/$(echo "$f" | tr '/ ' '__')"; done
}
# shellcheck disable=SC2046
seed_lzw_fuzzer() { copy_seeds "$1" $(grep -l "^Marvek's compression format" -r "$base/distmaps" | head -4); }
# shellcheck disable=SC2046
seed_bitmap_fuzzer() { copy_seeds "$1" $(find "$base/distmaps" -name '*.bmp' | sort | head -8); }
# shellcheck disable=SC2046
seed_jpeg_fuzzer() { copy_seeds "$1" $(find "$base/smalpict" -name '*.jpg' | sort | head -4); }

# Playlist files: byte 0 picks the edition, then a file that names demo
# recordings, one with an empty row, one of another edition and a damaged one.
seed_playlist_fuzzer() {
  local header='[GENERAL]\r\nCDROM=Voices of the Andes and the Chaco\r\nVersion=1.0\r\nSeconds between Sounds=2\r\nTell Species Names=Yes\r\nTell names Afterwards=No\r\nSeconds after Spoken Names=1\r\nEndless Loop=No\r\n'
  printf "\0${header}[RECORDINGS]\r\nR1=20020,01101A00001 ,2\r\nR2=x\r\nR3=20057,01105A00001 \r\n" > "$1/rows"
  printf "\1${header}[RECORDINGS]\r\nR1=abc,01101A00001 ,1\r\n" > "$1/damaged"
  printf '\0[GENERAL]\nCDROM=Elsewhere\nVersion=2\n' > "$1/other"
}

# The targets run side by side, one per core, each for its full time: the
# stage then takes the longest queue's time instead of the sum of all. Each
# target's output goes to its own log, shown when the target ends.
run_target() {
  local target=$1 seeds="$build/fuzz-seeds/$1" corpus="$build/fuzz-corpus/$1"
  mkdir -p "$seeds" "$corpus"
  "seed_$target" "$seeds"
  local max_len=65536 time=$seconds
  [ "$target" = data_fuzzer ] && { max_len=262144; time=$((seconds * 2)); }
  if "$build/bin/$target" -max_total_time="$time" -max_len="$max_len" -timeout=20 \
       -rss_limit_mb=2048 -close_fd_mask=2 -print_final_stats=1 "$corpus" "$seeds" > "$build/$target.log" 2>&1; then
    cat "$build/$target.log"
    echo "Fuzzing with $target: no failure in $time s."
  else
    cat "$build/$target.log"
    echo "Fuzzing with $target FAILED (log: $build/$target.log)." >&2
    return 1
  fi
}

# The longest target (the data files, twice the time) starts first.
ordered=""
for t in $targets; do
  if [ "$t" = data_fuzzer ]; then ordered="$t $ordered"; else ordered="$ordered $t"; fi
done
failed=0
running=0
for target in $ordered; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  run_target "$target" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
[ "$failed" -eq 0 ] || { echo "Fuzzing found a failure (see above)." >&2; exit 1; }
