#!/usr/bin/env bash
# Starts and stops the PostgreSQL server the database tests run against:
#   pg_server.sh start PORT    a fresh cluster on 127.0.0.1:PORT
#   pg_server.sh stop PORT
# The superuser "postgres" connects without a password from 127.0.0.1; every
# other role must give its password (scram-sha-256), as on a ward's server.
set -euo pipefail
action=$1
port=${2:-54329}
dir=/tmp/velmora-pgtest-$port
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bin" ]; then
    echo "PostgreSQL server binaries are not installed (scripts/install-deps.sh installs them)" >&2
    exit 1
fi

as_server_user() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

stop() {
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_server_user "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
}

case "$action" in
start)
    stop
    rm -rf "$dir"
    mkdir -p "$dir"
    if [ "$(id -u)" -eq 0 ]; then
        chown postgres "$dir"
    fi
    as_server_user "$bin/initdb" -D "$dir/data" -U postgres --auth-local=trust --auth-host=scram-sha-256 \
        -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    cat >>"$dir/data/postgresql.conf" <<CONF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$dir'
fsync = off
synchronous_commit = off
full_page_writes = off
max_connections = 200
CONF
    # The superuser connects from the tests without a password; other roles need theirs.
    { echo "local all all trust"; echo "host all postgres 127.0.0.1/32 trust"; echo "host all all 127.0.0.1/32 scram-sha-256"; } \
        >"$dir/data/pg_hba.conf"
    as_server_user "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start >/dev/null \
        || { cat "$dir/server.log" >&2; exit 1; }
    echo "PostgreSQL listening on 127.0.0.1:$port"
    ;;
stop)
    stop
    ;;
*)
    echo "usage: $0 start|stop PORT" >&2
    exit 2
    ;;
esac
