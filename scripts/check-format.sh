#!/usr/bin/env bash
# Fails when a C++ file is not formatted by the repository's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h')
[ -z "$files" ] || clang-format --dry-run -Werror $files
echo "formatação conferida"
