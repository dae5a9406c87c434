#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with, when any is missing.
# Safe to run again: it installs nothing when everything is there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
    libcpp-httplib-dev nlohmann-json3-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    sqlite3 libsqlite3-dev fonts-dejavu-core poppler-utils clang-format
    postgresql libpq-dev libboost-dev qt6-translations-l10n
    clang libclang-rt-14-dev
    haproxy chromium
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Instalando pacotes: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
