#!/usr/bin/env bash
# Measures the time from starting the program to its window being shown
# (mapped and exposed) under Xvfb, over several runs, and prints the figures.
# Usage: startup-time.sh PROGRAM [RUNS]
set -euo pipefail
program=$(realpath "$1")
runs=${2:-7}
source "$(dirname "$0")/xvfb.sh"
start_xvfb

times=()
for i in $(seq "$runs"); do
    start=$(date +%s%N)
    "$program" &
    app_pid=$!
    # Poll without xdotool's --sync, which sleeps half a second between tries.
    until xdotool search --onlyvisible --name '^Densimo$' >/dev/null 2>&1; do
        if [ $(($(date +%s%N) - start)) -gt 10000000000 ]; then
            echo "no window after 10 s" >&2
            exit 1
        fi
    done
    end=$(date +%s%N)
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    times+=($(((end - start) / 1000000)))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start-up to the shown window, ${runs} runs (ms): ${times[*]}"
echo "median ${sorted[$((runs / 2))]} ms, best ${sorted[0]} ms, worst ${sorted[$((runs - 1))]} ms"
