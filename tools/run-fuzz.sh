#!/usr/bin/env bash
# Runs each libFuzzer target for a while on its seed corpus and reports how
# many inputs it tried. A crash, a failed check or a hang (10 s) fails the run
# and leaves the input under build/fuzz/artifacts/.
# Usage: run-fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$build/artifacts"
for target in fuzz_procedure fuzz_batch; do
    name=${target#fuzz_}
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    log="$build/$target.log"
    if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
        "$corpus" "$root/fuzz/corpus/$name" >"$log" 2>&1; then
        tail -40 "$log" >&2
        echo "$target: FAILED (see $log)" >&2
        exit 1
    fi
    runs=$(awk '/stat::number_of_executed_units:/ {print $2}' "$log")
    echo "$target: $runs inputs in $seconds s, no finding"
done
