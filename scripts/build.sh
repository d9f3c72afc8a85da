#!/usr/bin/env bash
# Configures and builds into build/ (Ninja, ccache when present).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${JXC_BUILD_TYPE:-Debug}" >/dev/null
cmake --build build --parallel "$(nproc)"
