# Sourced by scripts/test and scripts/bench: a throwaway PostgreSQL cluster on
# 127.0.0.1, stopped and removed when the calling script exits.
# Sets KELVANE_TEST_PG ("host=... port=... user=postgres").

pg_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$pg_bin" ]; then
  echo "pg-cluster: PostgreSQL server binaries not found under /usr/lib/postgresql" >&2
  return 1
fi

as_pg() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

pg_dir=$(mktemp -d /tmp/kelvane-pg-XXXXXX)
[ "$(id -u)" -eq 0 ] && chown postgres "$pg_dir"

pg_stop() {
  as_pg "$pg_bin/pg_ctl" -D "$pg_dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$pg_dir"
}
trap pg_stop EXIT

as_pg "$pg_bin/initdb" -D "$pg_dir/data" -U postgres -A trust -E UTF8 --no-sync >"$pg_dir/initdb.log" 2>&1 || {
  cat "$pg_dir/initdb.log" >&2
  return 1
}

# One role signs on with a password, so that wrong passwords can be tested.
hba="$pg_dir/data/pg_hba.conf"
{ echo "host all kelvane_pw 127.0.0.1/32 scram-sha-256"; cat "$hba"; } >"$hba.new"
mv "$hba.new" "$hba"
[ "$(id -u)" -eq 0 ] && chown postgres "$hba"

pg_port=""
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  port=$((20000 + (RANDOM % 30000)))
  if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
    continue # somebody listens there
  fi
  if as_pg "$pg_bin/pg_ctl" -D "$pg_dir/data" -l "$pg_dir/server.log" -w -t 60 \
      -o "-p $port -k $pg_dir -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=300" \
      start >/dev/null 2>&1; then
    pg_port=$port
    break
  fi
done
if [ -z "$pg_port" ]; then
  echo "pg-cluster: the PostgreSQL server did not start" >&2
  cat "$pg_dir/server.log" >&2 || true
  return 1
fi
export KELVANE_TEST_PG="host=127.0.0.1 port=$pg_port user=postgres"
