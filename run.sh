#!/usr/bin/env bash
# Installs what is missing, builds, and starts Korvelan on the demo edition.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-dependencies.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVELAN_BENCH=OFF
cmake --build build --target korvelan
exec build/bin/korvelan
