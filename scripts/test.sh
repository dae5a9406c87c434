#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
#   scripts/test.sh              gcc build in build/ (or $BUILD_DIR)
#   scripts/test.sh --sanitize   the same suite under AddressSanitizer and UndefinedBehaviorSanitizer,
#                                a Debug build in build-asan/ (or $BUILD_DIR)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
timeout=300
if [ "${1:-}" = "--sanitize" ]; then
    export BUILD_DIR="${BUILD_DIR:-$root/build-asan}" BUILD_TYPE=Debug
    "$root/scripts/build.sh" -DRESTCONT_SANITIZE=ON
    # Child processes (the server, the host shell) inherit these, so their faults fail the tests too.
    export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:check_initialization_order=1"
    export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    timeout=900
else
    "$root/scripts/build.sh"
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${BUILD_DIR:-$root/build}" --output-on-failure --timeout "$timeout" -j "$(nproc)"
