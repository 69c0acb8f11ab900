#!/usr/bin/env bash
# Installs what is missing, builds, runs every test headless, then builds the
# tests again with AddressSanitizer + UndefinedBehaviorSanitizer and runs them.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-dependencies.sh
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 0700 "$XDG_RUNTIME_DIR"
jobs=$(nproc)

# Each stage's time, printed at the end.
stages=()
stage_started=$SECONDS
stage_done() {
  stages+=("$(printf '%-34s %4d s' "$1" $((SECONDS - stage_started)))")
  stage_started=$SECONDS
}
trap 'for s in "${stages[@]}"; do echo "  $s"; done' EXIT
stage_done "dependencies"

./scripts/check-layers.sh

# A build directory made here from scratch (a fresh clone, CI) is made once
# and run, not worked in: clang compiles these sources in a third of GCC's
# time, the libraries compile in batches, line tables are all a failing
# test's stack trace needs, and lld links the test programs far faster than
# the GNU linker. The code is optimised as in any RelWithDebInfo build (-O2,
# the benchmarks' figures included). A build directory that already exists
# (a developer's) is used as it was configured.
fresh_build=()
if [ ! -f build/CMakeCache.txt ]; then
  fresh_build=(-DCMAKE_CXX_COMPILER=clang++ -DKORVELAN_UNITY_BUILD=ON
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG"
    -DCMAKE_EXE_LINKER_FLAGS="-fuse-ld=lld" -DCMAKE_SHARED_LINKER_FLAGS="-fuse-ld=lld")
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${fresh_build[@]}"
cmake --build build -j "$jobs" || {
  [ ${#fresh_build[@]} -gt 0 ] || exit 1
  echo "test.sh: the batched build failed; building file by file (see src/CMakeLists.txt)" >&2
  cmake -S . -B build -DKORVELAN_UNITY_BUILD=OFF
  cmake --build build -j "$jobs"
}
stage_done "build"
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 300
stage_done "tests"

# One clang build serves the sanitizers and the fuzz targets: the libraries
# carry libFuzzer's coverage hooks too, so they are compiled once, not twice.
# It is made once and run, not worked in: the libraries compile in batches
# (unity build), line tables are all the sanitizers' stack traces need, and
# lld links the instrumented programs in a fraction of the GNU linker's time.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DKORVELAN_SANITIZE=ON -DKORVELAN_FUZZ=ON -DKORVELAN_BENCH=OFF -DKORVELAN_UNITY_BUILD=ON \
  -DCMAKE_CXX_FLAGS="-O1 -fsanitize=fuzzer-no-link" -DCMAKE_CXX_FLAGS_DEBUG="-gline-tables-only" \
  -DCMAKE_EXE_LINKER_FLAGS="-fuse-ld=lld" -DCMAKE_SHARED_LINKER_FLAGS="-fuse-ld=lld"
cmake --build build-sanitize -j "$jobs" || {
  # Two files of one library clashing in a batch must not cost the sanitizer
  # run: say so loudly and build those libraries file by file.
  echo "test.sh: the batched sanitizer build failed; building file by file (see src/CMakeLists.txt)" >&2
  cmake -S . -B build-sanitize -DKORVELAN_UNITY_BUILD=OFF
  cmake --build build-sanitize -j "$jobs"
}
stage_done "sanitizer build"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs" --timeout 600
stage_done "sanitizer tests"

if [ -x scripts/fuzz.sh ]; then KORVELAN_FUZZ_BUILD="$PWD/build-sanitize" ./scripts/fuzz.sh; fi
stage_done "fuzzing"
echo "All tests passed."
