#!/usr/bin/env bash
# The demo script over stand-in programs whose server dies: at start, then during the calculation. The
# script must say that the server stopped and where its log is, and end with 2.
set -uo pipefail
demo_script="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

fake_build() { # $1: the server's body
    local build="$work/$2"
    mkdir -p "$build/bin"
    printf '#!/usr/bin/env bash\n: >"$2"\n' >"$build/bin/restcont-demo"
    printf '#!/usr/bin/env bash\n%s\n' "$1" >"$build/bin/restcont-server"
    printf '#!/usr/bin/env bash\nsleep 0.5\nexit 2\n' >"$build/bin/restcont-host"
    chmod +x "$build/bin/"*
    echo "$build"
}

check() { # $1: name, $2: build, $3: expected words
    local out status
    out="$(env -u DISPLAY -u WAYLAND_DISPLAY RESTCONT_DEMO_PREBUILT=1 BUILD_DIR="$2" bash "$demo_script" 2>&1)"
    status=$?
    if [ "$status" != 2 ] || ! grep -qF "$3" <<<"$out" || ! grep -qF "$2/demo/server.log" <<<"$out" ||
        grep -q "unbound variable" <<<"$out"; then
        echo "FALHOU $1 (código $status):"
        echo "$out"
        failures=$((failures + 1))
    fi
}

check "ao iniciar" "$(fake_build 'echo "porta ocupada" >&2; exit 1' start)" "O servidor de aplicação parou ao iniciar"
check "durante o cálculo" "$(fake_build 'echo "listening on 127.0.0.1:1"; exit 0' calc)" \
    "O servidor de aplicação parou durante o cálculo"
exit "$failures"
