#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in their own build
# directory and runs each for a bounded time on a corpus seeded from the demo
# edition: the data files (KORVELAN_FUZZ_SECONDS, 60 s) and the playlist
# loader (KORVELAN_PLAYLIST_FUZZ_SECONDS, 20 s). Fails on any crash,
# sanitizer report or leak.
set -euo pipefail
cd "$(dirname "$0")/.."

build="$PWD/build-fuzz"
seconds="${KORVELAN_FUZZ_SECONDS:-60}"
playlist_seconds="${KORVELAN_PLAYLIST_FUZZ_SECONDS:-20}"
jobs=$(nproc)

mkdir -p "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DKORVELAN_FUZZ=ON -DKORVELAN_TESTS=ON -DKORVELAN_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
  > "$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j "$jobs" --target data_fuzzer playlist_fuzzer

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
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$build/bin/data_fuzzer" -max_total_time="$seconds" -max_len=262144 -timeout=20 \
  -rss_limit_mb=2048 -close_fd_mask=2 -print_final_stats=1 "$corpus" "$seeds"
echo "Fuzzing the data files: no failure in $seconds s."

# Playlist files: byte 0 picks the edition, then a file that names demo
# recordings, one with an empty row, one of another edition and a damaged one.
playlist_seeds="$build/fuzz-playlist-seeds"
playlist_corpus="$build/fuzz-playlist-corpus"
mkdir -p "$playlist_seeds" "$playlist_corpus"
header='[GENERAL]\r\nCDROM=Voices of the Andes and the Chaco\r\nVersion=1.0\r\nSeconds between Sounds=2\r\nTell Species Names=Yes\r\nTell names Afterwards=No\r\nSeconds after Spoken Names=1\r\nEndless Loop=No\r\n'
printf "\0${header}[RECORDINGS]\r\nR1=20020,01101A00001 ,2\r\nR2=x\r\nR3=20057,01105A00001 \r\n" > "$playlist_seeds/rows"
printf "\1${header}[RECORDINGS]\r\nR1=abc,01101A00001 ,1\r\n" > "$playlist_seeds/damaged"
printf '\0[GENERAL]\nCDROM=Elsewhere\nVersion=2\n' > "$playlist_seeds/other"
"$build/bin/playlist_fuzzer" -max_total_time="$playlist_seconds" -max_len=65536 -timeout=20 \
  -rss_limit_mb=2048 -close_fd_mask=2 -print_final_stats=1 "$playlist_corpus" "$playlist_seeds"
echo "Fuzzing the playlist loader: no failure in $playlist_seconds s."
