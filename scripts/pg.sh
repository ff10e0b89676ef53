#!/usr/bin/env bash
# A private PostgreSQL cluster for the tests: initdb into a folder (as the postgres user,
# since initdb refuses root), listening only on a unix socket in that folder.
#   scripts/pg.sh start DIR   -> prints the connection string for CANGSHU_TEST_PG
#   scripts/pg.sh stop DIR
set -euo pipefail
cmd=${1:?start or stop}
dir=${2:?folder}
bindir=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
as_pg() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
case "$cmd" in
start)
  mkdir -p "$dir"
  [ "$(id -u)" -eq 0 ] && chown postgres:postgres "$dir"
  if [ ! -f "$dir/data/PG_VERSION" ]; then
    as_pg "$bindir/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 \
      || { cat "$dir/initdb.log" >&2; exit 1; }
  fi
  as_pg "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses='' -k $dir -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
    start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
  echo "host=$dir port=5432 user=postgres dbname=postgres"
  ;;
stop)
  [ -f "$dir/data/postmaster.pid" ] && as_pg "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
  ;;
*) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
