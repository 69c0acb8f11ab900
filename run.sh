#!/usr/bin/env bash
# Installs what is missing, builds, and starts Korvelan on the demo edition.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-dependencies.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVELAN_BENCH=OFF
# "./run.sh voices" starts the demo as the edition with spoken names.
if [ "${1:-}" = voices ]; then
  cmake --build build --target korvelan_voices_files
  exec build/bin-voices/korvelan
fi
cmake --build build --target korvelan
exec build/bin/korvelan
