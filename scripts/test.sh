#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: once on SQLite, once on PostgreSQL.
# PostgreSQL is the server named by PGHOST/PGPORT when set, else a private one started here.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh

jobs=$(nproc)
echo "== tests on SQLite"
(cd build && JXC_TEST_DB=sqlite ctest --output-on-failure -j "$jobs")

source scripts/pg-private.sh
if [ -z "${PGHOST:-}" ]; then
  pg_private_start
  trap pg_private_stop EXIT
fi
echo "== tests on PostgreSQL"
(cd build && JXC_TEST_DB=postgres ctest --output-on-failure -j "$jobs")
