#!/usr/bin/env bash
# The main job on the demo database: installs what is missing, builds, writes the demo database and
# the host's settings, starts the application server on loopback and opens the host with the screen.
# With no display the screen runs offscreen.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

# Qt wants a private runtime folder; a fresh machine's root shell has none.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

demo="$build/demo"
mkdir -p "$demo"
rm -f "$demo/demo.db"
"$build/bin/restcont-demo" --out "$demo/demo.db"

# The server answers on a free loopback port; its first line says which.
log="$demo/server.log"
coproc SERVER { exec "$build/bin/restcont-server" --database "$demo/demo.db" --listen 127.0.0.1:0 2>"$log"; }
trap 'kill "$SERVER_PID" 2>/dev/null || true; wait "$SERVER_PID" 2>/dev/null || true' EXIT
read -r -t 30 line <&"${SERVER[0]}" || { echo "O servidor de aplicação não iniciou; veja $log" >&2; exit 2; }
address="${line#listening on }"
echo "Servidor de aplicação em $address"

cat >"$demo/restcont.ini" <<INI
[database]
path=demo.db

[server]
host=${address%:*}
port=${address##*:}

[operator]
code=DEMO
branch=0001
branch_locked=false
INI

host=("$build/bin/restcont-host" --settings "$demo/restcont.ini")
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
    "${host[@]}" "$@"
else
    echo "Sem display: a tela roda fora da tela."
    QT_QPA_PLATFORM=offscreen "${host[@]}" --screenshot "$demo/screen.png" "$@"
    echo "Imagem da tela: $demo/screen.png"
fi
