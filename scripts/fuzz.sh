#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $FUZZ_BUILD_DIR) and runs each over its
# corpus for SECONDS seconds (default 15).
#   scripts/fuzz.sh [SECONDS] [TARGET...]     targets: packet request mask float_format head
# Inputs are up to 4 KiB, the request head's up to 16 KiB (its limits come from the input too).
# New inputs go to a scratch folder in the build, never into tests/fuzz/corpus/; an input that breaks
# a property is left in <build>/fuzz-artifacts/ and fails the run. To keep one as a regression test,
# copy it into tests/fuzz/corpus/<target>/ under a name that says what it reproduces.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-15}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(packet request mask float_format head)

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DRESTCONT_FUZZ=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target restcont_fuzz

export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
for target in "${targets[@]}"; do
    scratch="$build/fuzz-work/$target"
    mkdir -p "$scratch"
    log="$build/fuzz-work/$target.log"
    echo "fuzz_$target: ${seconds}s"
    status=0
    max_len=4096
    [ "$target" != head ] || max_len=16384
    "$build/bin/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 \
        -dict="$root/tests/fuzz/dict/$target.dict" -artifact_prefix="$artifacts/$target-" \
        "$scratch" "$root/tests/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log"
        echo "fuzz_$target falhou; entrada em $artifacts/" >&2
        exit 1
    fi
done
