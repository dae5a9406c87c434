#!/usr/bin/env bash
# The month-wide check on 1,000 service-months of one month (restcont-demo --branches 250), per engine
# and over HTTP, against the bare cost: the same calls run one after another in process.
#
#     bench/check/run.sh BUILD_DIR [RUNS] [BRANCHES]
#
# Prints each run's wall time and peak memory (maximum resident set, the process's VmHWM). Run it on
# a quiet machine; it takes a few minutes. PostgreSQL runs on a private cluster in a temporary folder
# (as root, its programs run as the user postgres, as the tests do).
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-3}
branches=${3:-250}
bin=$build/bin
work=$(mktemp -d /tmp/restcont-check-bench-XXXXXX)
chmod 755 "$work"
cleanup() {
    [ -n "${server_pid:-}" ] && kill "$server_pid" 2>/dev/null || true
    if [ -n "${pgbin:-}" ] && [ -d "$work/pg" ]; then
        as_pg "$pgbin/pg_ctl" -D "$work/pg" -m fast -w -s stop >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
as_pg() { if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }

db=$work/demo.db
"$bin/restcont-demo" --out "$db" --branches "$branches" --months 2026-03 >/dev/null
echo "banco: $branches filiais, $(du -h "$db" | cut -f1); núcleos: $(nproc)"

# One timed run of the check: wall seconds and peak kB; 1 (some service blocked) is its normal status.
check_run() {
    local status=0
    /usr/bin/time -f "%e %M" -o "$work/time" "$bin/restcont-check" "$@" --month 2026-03 --format json \
        --out "$work/out.json" || status=$?
    [ "$status" -le 1 ] || { echo "restcont-check falhou ($status)" >&2; exit 1; }
    read -r seconds kb < <(tail -n 1 "$work/time")
    echo "  $* : $seconds s, $kb kB" >&2
    echo "$seconds $kb"
}

median() { tr ' ' '\n' | sort -g | awk '{v[NR] = $1} END {printf "%.2f (%.2f–%.2f)", v[int((NR + 1) / 2)], v[1], v[NR]}'; }

# Rounds of the bare calls and the check with 1, 2 and 4 jobs one after another, so that a machine
# whose speed drifts (a shared virtual one) slows a round's bare cost and its checks alike; then
# each one's median and the target it is held to: FACTOR × bare ÷ min(jobs, cores). The bare calls
# run in process on BAREBASE.
#     series LABEL FACTOR BAREBASE CHECK_OPTIONS...
series() {
    local label=$1 factor=$2 barebase=$3
    shift 3
    local bare=() one=() two=() four=() kb1=() kb2=() kb4=() line
    for _ in $(seq "$runs"); do
        line=$("$bin/restcont-check-bare" --database "$barebase" --month 2026-03 --runs 1 | head -n 1)
        echo "  sem a ferramenta: $line" >&2
        bare+=("$(sed -E 's/.* ([0-9.]+) s$/\1/' <<<"$line")")
        read -r s k < <(check_run "$@" --jobs 1); one+=("$s"); kb1+=("$k")
        read -r s k < <(check_run "$@" --jobs 2); two+=("$s"); kb2+=("$k")
        read -r s k < <(check_run "$@" --jobs 4); four+=("$s"); kb4+=("$k")
    done
    local b cores
    b=$(echo "${bare[*]}" | median | cut -d' ' -f1)
    cores=$(nproc)
    echo "$label: chamadas em série $(echo "${bare[*]}" | median) s"
    for jobs in 1 2 4; do
        local times kbs
        case $jobs in 1) times="${one[*]}" kbs="${kb1[*]}" ;; 2) times="${two[*]}" kbs="${kb2[*]}" ;; *) times="${four[*]}" kbs="${kb4[*]}" ;; esac
        local got target
        got=$(echo "$times" | median | cut -d' ' -f1)
        target=$(awk -v f="$factor" -v b="$b" -v j="$jobs" -v c="$cores" 'BEGIN {printf "%.2f", f * b / (j < c ? j : c)}')
        echo "$label, --jobs $jobs: $(echo "$times" | median) s, pico $(echo "$kbs" | tr ' ' '\n' | sort -g | tail -n 1) kB; meta $target s: $(awk -v g="$got" -v t="$target" 'BEGIN {print (g <= t ? "atingida" : "NÃO atingida")}')"
    done
}

echo "== SQLite, em processo"
series "SQLite" 1.5 "$db" --database "$db"

echo "== HTTP, um servidor sobre o SQLite"
port=$((20000 + RANDOM % 20000))
"$bin/restcont-server" --database "$db" --listen "127.0.0.1:$port" >"$work/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 50); do curl -sf "http://127.0.0.1:$port/health" >/dev/null 2>&1 && break; sleep 0.1; done
series "HTTP" 2.5 "$db" --database "$db" --server "127.0.0.1:$port"
kill "$server_pid"
wait "$server_pid" 2>/dev/null || true
server_pid=

pgbin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
if [ -n "$pgbin" ]; then
    echo "== PostgreSQL ($pgbin), em processo"
    [ "$(id -u)" = 0 ] && chown postgres "$work"
    as_pg "$pgbin/initdb" -D "$work/pg" -U postgres -A trust -E UTF8 --locale=C --no-sync >/dev/null
    pgport=$((port + 1))
    as_pg "$pgbin/pg_ctl" -D "$work/pg" -l "$work/pg.log" -w -s \
        -o "-c listen_addresses=127.0.0.1 -p $pgport -k $work -c fsync=off -c synchronous_commit=off" start
    as_pg "$pgbin/createdb" -h 127.0.0.1 -p "$pgport" -U postgres -T template0 -E UTF8 --locale=C demo
    url="postgresql://postgres@127.0.0.1:$pgport/demo"
    "$bin/restcont-demo" --out "$url" --branches "$branches" --months 2026-03 >/dev/null
    series "PostgreSQL" 1.5 "$url" --database "$url"
fi
