#!/usr/bin/env bash
# Old server against new on this machine, runs interleaved (old, new, old, new...), each run on a
# fresh server over the same demo database, every figure taken by the NEW build's bench tools with
# --target so that only the server differs:
#   restcont-bench --target     the whole analysis over HTTP (median ms of 51 rounds)
#   restcont-load  --target     calls per second and errors at 1, 8 and 64 sessions (server sized as
#                               restcont-load sizes its own: --threads max(32, N+8), --max-sessions
#                               max(64, N))
#   restcont-crowd --target     a client's latency among 1,000 idle and 100 slow connections, each
#                               call bounded by --call-timeout 5 so that a stalled server ends too
# Usage: [CASES="bench load crowd"] bench/compare-hardening.sh OLD_BUILD NEW_BUILD [RUNS] [OUT]
#   OLD_BUILD, NEW_BUILD: build folders holding bin/restcont-server (NEW_BUILD also the bench tools
#   and restcont-demo); RUNS per case and version (default 5); OUT: folder for the raw outputs.
#   CASES: which of the three measurements to run (default all).
# Prints one Markdown line per case: median and min–max of the runs for old and new.
set -euo pipefail
old_build="$(cd "$1" && pwd)"
new_build="$(cd "$2" && pwd)"
runs="${3:-5}"
out="${4:-$(mktemp -d /tmp/compare-hardening.XXXXXX)}"
cases="${CASES:-bench load crowd}"
mkdir -p "$out"
tools="$new_build/bin"
db="$out/demo.db"
[ -f "$db" ] || "$tools/restcont-demo" --out "$db" >/dev/null

server_pid=""
# A server that does not end within ten seconds of SIGTERM (one stalled by the crowd) is killed.
stop_server() {
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null || true
        for _ in $(seq 100); do
            kill -0 "$server_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
        server_pid=""
    fi
}
trap stop_server EXIT

# start_server VERSION ARGS...: sets $address; the server's log goes to $out, not to the terminal.
start_server() {
    local version="$1"
    shift
    local build="$old_build"
    [ "$version" = new ] && build="$new_build"
    local said="$out/server.out"
    : >"$said"
    "$build/bin/restcont-server" --database "$db" --listen 127.0.0.1:0 "$@" >"$said" 2>"$out/server-$version.log" &
    server_pid=$!
    local line=""
    for _ in $(seq 300); do
        line="$(head -n 1 "$said")"
        [ -n "$line" ] && break
        kill -0 "$server_pid" 2>/dev/null || { echo "servidor $version não iniciou" >&2; exit 2; }
        sleep 0.1
    done
    [ -n "$line" ] || { echo "servidor $version não iniciou em 30 s" >&2; exit 2; }
    address="${line#listening on }"
}

# record CASE VERSION VALUE: one figure of one run.
record() { echo "$3" >>"$out/$1.$2"; }

bench_run() {
    start_server "$1"
    local text
    text="$("$tools/restcont-bench" --target "$address" 51 2>&1 || true)"
    echo "$text" >>"$out/raw-bench-$1.txt"
    record bench-ms "$1" "$(awk '/^whole analysis/ {print $3}' <<<"$text")"
    record bench-call-ms "$1" "$(awk '/^any call/ {print $3}' <<<"$text")"
    record bench8-cps "$1" "$(sed -n 's/.*over HTTP for [0-9.]* s: \([0-9]*\) calls\/s.*/\1/p' <<<"$text")"
    stop_server
}

load_run() {
    local sessions="$2" threads=$(($2 + 8)) max=64
    [ "$threads" -ge 32 ] || threads=32
    [ "$sessions" -le 64 ] || max="$sessions"
    start_server "$1" --threads "$threads" --max-sessions "$max"
    local line
    line="$("$tools/restcont-load" --target "$address" --sessions "$sessions" 2>>"$out/raw-load-$1.err" | grep '^| alvo' || true)"
    echo "$line" >>"$out/raw-load-$1.txt"
    record "load$sessions-cps" "$1" "$(awk -F'|' '{gsub(/ /, "", $6); print $6}' <<<"$line")"
    record "load$sessions-errors" "$1" "$(awk -F'|' '{gsub(/ /, "", $9); print $9}' <<<"$line")"
    stop_server
}

crowd_run() {
    start_server "$1"
    local line
    line="$("$tools/restcont-crowd" --target "$address" --seconds 25 --call-timeout 5 \
        2>>"$out/raw-crowd-$1.err" | grep -E '^\| [0-9]' || true)"
    echo "$line" >>"$out/raw-crowd-$1.txt"
    # Columns: idle open, slow open, reopened, seconds, calls, errors, median, p90, p99, max.
    local field
    for field in 6:calls 7:errors 8:median 9:p90 10:p99 11:max; do
        record "crowd-${field#*:}" "$1" "$(awk -F'|' -v f="${field%%:*}" '{gsub(/ /, "", $f); print $f}' <<<"$line")"
    done
    stop_server
}

for run in $(seq "$runs"); do
    for version in old new; do
        echo "rodada $run: $version" >&2
        [[ " $cases " != *" bench "* ]] || bench_run "$version"
        if [[ " $cases " == *" load "* ]]; then
            for sessions in 1 8 64; do
                load_run "$version" "$sessions"
            done
        fi
        [[ " $cases " != *" crowd "* ]] || crowd_run "$version"
    done
done

# summary FILE: "median [min–max] (n)" of the numbers in FILE.
summary() {
    sort -g "$1" | awk '{v[NR] = $1} END {
        if (NR == 0) { print "?"; exit }
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%g [%g–%g] (%d)\n", m, v[1], v[NR], NR }'
}

echo "| caso | antigo: mediana [mín–máx] (execuções) | novo: mediana [mín–máx] (execuções) |"
echo "|---|---|---|"
for case in bench-ms bench-call-ms bench8-cps load1-cps load1-errors load8-cps load8-errors load64-cps load64-errors \
    crowd-calls crowd-errors crowd-median crowd-p90 crowd-p99 crowd-max; do
    [ -f "$out/$case.old" ] || continue
    echo "| $case | $(summary "$out/$case.old") | $(summary "$out/$case.new") |"
done
echo "saídas em $out" >&2
