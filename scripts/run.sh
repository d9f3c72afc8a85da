#!/usr/bin/env bash
# Sets up, builds and starts the program on the embedded SQLite default (data/ beside the
# executable, or below JXC_HOME when set).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
JXC_BUILD_TYPE="${JXC_BUILD_TYPE:-Release}" bash scripts/build.sh
exec build/bin/jxc "$@"
