#!/usr/bin/env bash
# A private PostgreSQL 15 server for the tests: "start DIR PORT" makes a new cluster in DIR/data,
# listening only on a Unix socket in DIR (TCP off, so the port only names the socket); "stop DIR"
# stops it and removes DIR. The server runs as the postgres user when the tests run as root.
set -euo pipefail
bin=/usr/lib/postgresql/15/bin
cmd=$1 dir=$2
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
case "$cmd" in
start)
  port=$3
  [ -d "$dir" ] && "$0" stop "$dir"
  mkdir -p "$dir"
  [ "$(id -u)" -eq 0 ] && chown postgres "$dir"
  as_owner "$bin/initdb" -D "$dir/data" -A trust -U postgres -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log"
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-k '$dir' -p $port -c listen_addresses='' -c fsync=off -c full_page_writes=off" start >/dev/null
  echo "PostgreSQL test server on socket $dir, port $port"
  ;;
stop)
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null || true
  fi
  rm -rf "$dir"
  ;;
esac
