#!/usr/bin/env bash
# A private PostgreSQL server for the tests: a cluster made with initdb in a temporary folder,
# listening on a Unix socket only. Source it:
#   source scripts/pg-private.sh start   # exports PGHOST, PGPORT, PGUSER and JXC_PG_DIR
#   pg_private_stop                      # stops it and removes the folder
# As root the cluster belongs to the postgres user (runuser), otherwise to the caller.

pg_private_bin() {
  ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1
}

pg_private_as() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

pg_private_start() {
  local bin dir
  bin=$(pg_private_bin)
  [ -n "$bin" ] || { echo "pg-private: PostgreSQL is not installed" >&2; return 1; }
  dir=$(mktemp -d /tmp/jxc-pg.XXXXXX)
  chmod 755 "$dir"
  [ "$(id -u)" -eq 0 ] && chown postgres:postgres "$dir"
  pg_private_as "$bin/initdb" -D "$dir/data" -U postgres --auth=trust -E UTF8 --locale=C >"$dir/initdb.log" 2>&1 \
    || { cat "$dir/initdb.log" >&2; return 1; }
  pg_private_as "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-k $dir -c listen_addresses='' -p 5432 -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
    start >/dev/null || { cat "$dir/server.log" >&2; return 1; }
  export JXC_PG_DIR="$dir" PGHOST="$dir" PGPORT=5432 PGUSER=postgres
  echo "pg-private: server on socket folder $dir"
}

pg_private_stop() {
  [ -n "${JXC_PG_DIR:-}" ] || return 0
  pg_private_as "$(pg_private_bin)/pg_ctl" -D "$JXC_PG_DIR/data" -m fast -w stop >/dev/null 2>&1 || true
  rm -rf "$JXC_PG_DIR"
  unset JXC_PG_DIR
}

if [ "${1:-}" = "start" ]; then
  pg_private_start
fi
