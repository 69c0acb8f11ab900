#!/usr/bin/env bash
# Installs what is missing, builds, and starts Korvelan on the demo edition;
# "./run.sh es" starts the demo's Spanish edition.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-dependencies.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVELAN_BENCH=OFF
# "./run.sh voices" starts the demo as the edition with spoken names,
# "./run.sh es" the Spanish demo.
if [ "${1:-}" = voices ]; then
  cmake --build build --target korvelan_voices_files korvelan_help
  exec build/bin-voices/korvelan
fi
if [ "${1:-}" = es ]; then
  cmake --build build --target korvelan_demo_es
  exec build/bin-es/korvelan
fi
cmake --build build --target korvelan korvelan_help
exec build/bin/korvelan
