#!/usr/bin/env bash
# Several application servers behind a real balancer, on loopback, all in one temporary folder: a
# private PostgreSQL cluster holding the suite's database (the demo, or the SQLite suite database
# given with --from, copied by restcont-demo --from), a second one for the shared session table, three
# restcont-server processes on them, and Debian's haproxy in front, configured by
# scripts/cluster-haproxy.cfg. Prints the balancer's address; Enter starts again the servers that
# were stopped; Ctrl-C stops everything and removes the folder.
#
#   scripts/cluster.sh [--listen HOST:PORT] [--from FILE]
#
# --listen: the balancer's address (default 127.0.0.1:60251, where the screen looks by default).
# BUILD_DIR: the build to run (default build/); RESTCONT_PREBUILT=1 runs what it holds without
# installing or building. The balancer's times (RESTCONT_TIMEOUT_SERVER, RESTCONT_CHECK_INTER...) are
# taken from the environment as cluster-haproxy.cfg lists them; RESTCONT_SERVER_OPTIONS adds options
# to every server (e.g. "--threads 72 --max-sessions 80" for a load test).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

listen=127.0.0.1:60251
from=""
usage() {
    echo "Uso: scripts/cluster.sh [--listen MÁQUINA:PORTA] [--from ARQUIVO]" >&2
    exit 2
}
while [ "$#" -gt 0 ]; do
    case "$1" in
    --listen) [ "$#" -ge 2 ] || usage; listen="$2"; shift 2 ;;
    --from) [ "$#" -ge 2 ] || usage; from="$(realpath -- "$2")"; shift 2 ;;
    *) usage ;;
    esac
done
[ -x /usr/sbin/haproxy ] || { echo "Falta o haproxy (/usr/sbin/haproxy): rode scripts/setup.sh." >&2; exit 2; }

if [ "${RESTCONT_PREBUILT:-0}" != 1 ]; then
    "$root/scripts/setup.sh"
    "$root/scripts/build.sh"
fi
bin="$build/bin"

folder="$(mktemp -d "${TMPDIR:-/tmp}/restcont-cluster-XXXXXX")"
# Every process started here, stopped at the end whatever ends the script.
pids=()
pg_folders=()
pg_bin="${RESTCONT_PG_BINDIR:-$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)}"

# initdb and the PostgreSQL server refuse root: as root they run as the user postgres.
as_postgres() {
    if [ "$(id -u)" -eq 0 ]; then
        /usr/sbin/runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

stop_all() {
    trap - EXIT INT TERM
    local pid pg
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    for pg in "${pg_folders[@]}"; do
        as_postgres "$pg_bin/pg_ctl" -D "$pg/data" -m fast -w -s stop >/dev/null 2>&1 || true
    done
    rm -rf "$folder"
}
trap stop_all EXIT
trap 'echo; echo "Parando o agrupamento..."; exit 130' INT
trap 'exit 143' TERM

# Stops the script, showing the end of the log that says why.
give_up() {
    echo "$1" >&2
    [ -f "${2:-}" ] && tail -n 20 "$2" >&2
    exit 1
}

# A PostgreSQL cluster in the folder, on a free port (another one when the port chosen was taken
# meanwhile), with one empty database; its URL in the variable named by $3.
start_postgres() {
    local name="$1" database="$2" pg="$folder/$1" port started=0
    mkdir -p "$pg/data"
    [ "$(id -u)" -ne 0 ] || chown -R postgres: "$pg"
    as_postgres "$pg_bin/initdb" -D "$pg/data" -U postgres -A trust -E UTF8 --locale=C --no-sync \
        >"$pg/initdb.log" 2>&1 || give_up "O initdb falhou ($name)." "$pg/initdb.log"
    pg_folders+=("$pg")
    for _ in 1 2 3 4 5; do
        port=$((20000 + RANDOM % 30000))
        # A throw-away cluster: durability would only cost time. Every server may hold a connection
        # per worker thread to each cluster: room for three servers of many threads.
        if as_postgres "$pg_bin/pg_ctl" -D "$pg/data" -l "$pg/server.log" -w -t 60 -s \
            -o "-c listen_addresses=127.0.0.1 -p $port -k $pg -c fsync=off -c synchronous_commit=off -c max_connections=400" \
            start >/dev/null 2>&1; then
            started=1
            break
        fi
    done
    [ "$started" = 1 ] || give_up "O PostgreSQL não iniciou ($name)." "$pg/server.log"
    "$pg_bin/createdb" -h 127.0.0.1 -p "$port" -U postgres -T template0 -E UTF8 --locale=C "$database"
    printf -v "$3" '%s' "postgresql://postgres@127.0.0.1:$port/$database"
}
chmod 711 "$folder"
# The sessions in a cluster of their own: their writes must not move the suite cluster's position,
# which the servers' menu cache takes for the version of the suite's data.
start_postgres suite restcont suite
start_postgres sessions restcont_sessoes sessions

if [ -z "$from" ]; then
    from="$folder/demo.db"
    "$bin/restcont-demo" --out "$from" >/dev/null
fi
"$bin/restcont-demo" --from "$from" --out "$suite"

# The servers answer on free ports: each says which on its first line.
servers=()
read -r -a server_options <<<"${RESTCONT_SERVER_OPTIONS:-}"
start_server() {
    local n="$1" listen_at="$2"
    : >"$folder/servidor$n.out"
    "$bin/restcont-server" --database "$suite" --sessions "$sessions" --listen "$listen_at" \
        --trusted-proxy 127.0.0.1 "${server_options[@]}" >"$folder/servidor$n.out" 2>>"$folder/servidor$n.log" &
    server_pids[$n]=$!
    pids+=($!)
    local line=""
    for _ in $(seq 300); do
        line="$(head -n 1 "$folder/servidor$n.out")"
        [ -n "$line" ] && break
        kill -0 "${server_pids[$n]}" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$line" ] || give_up "O servidor $n não iniciou." "$folder/servidor$n.log"
    servers[$n]="${line#listening on }"
}
declare -A server_pids
for n in 1 2 3; do start_server "$n" 127.0.0.1:0; done

export RESTCONT_LB_LISTEN="$listen" RESTCONT_LB_STATS="$folder/haproxy.sock"
export RESTCONT_SERVER1="${servers[1]}" RESTCONT_SERVER2="${servers[2]}" RESTCONT_SERVER3="${servers[3]}"
/usr/sbin/haproxy -db -f "$root/scripts/cluster-haproxy.cfg" >"$folder/haproxy.log" 2>&1 &
lb_pid=$!
pids+=("$lb_pid")
for _ in $(seq 100); do
    kill -0 "$lb_pid" 2>/dev/null || give_up "O balanceador não iniciou em $listen." "$folder/haproxy.log"
    [ -S "$folder/haproxy.sock" ] && break
    sleep 0.1
done

echo "Balanceador em $listen (haproxy, rodízio a cada requisição)"
for n in 1 2 3; do
    echo "  servidor $n: ${servers[$n]} (processo ${server_pids[$n]}, registro $folder/servidor$n.log)"
done
echo "  banco da suíte: $suite"
echo "  sessões: $sessions (outro agrupamento PostgreSQL)"
echo "  haproxy: registro $folder/haproxy.log, comandos em $folder/haproxy.sock"
echo "Aponte a tela para o balanceador: [server] host=${listen%:*} e port=${listen##*:} no restcont.ini."
echo "Enter reinicia os servidores parados; Ctrl-C para tudo."

while kill -0 "$lb_pid" 2>/dev/null; do
    status=0
    read -r -t 1 _ || status=$?
    if [ "$status" -eq 0 ]; then
        for n in 1 2 3; do
            if ! kill -0 "${server_pids[$n]}" 2>/dev/null; then
                wait "${server_pids[$n]}" 2>/dev/null || true
                start_server "$n" "${servers[$n]}"
                echo "Servidor $n reiniciado em ${servers[$n]} (processo ${server_pids[$n]})."
            fi
        done
    elif [ "$status" -le 128 ]; then
        # No terminal, or its end reached: nothing more to read, only to wait.
        sleep 1
    fi
done
give_up "O balanceador parou." "$folder/haproxy.log"
