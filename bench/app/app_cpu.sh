#!/usr/bin/env bash
# The desktop program's CPU time on one file, for one or more builds of it, run in turns:
# opening (from start until the window is up and the program has gone quiet, Qt's background
# layout included), ten idle seconds, and typing. Needs an X display with a window manager
# (Xvfb and openbox will do) and xdotool.
#
#   bench/app/app_cpu.sh FILE.rtf [ROUNDS] -- build/release/bin/trellic OTHER/bin/trellic ...
set -euo pipefail

file=$1
rounds=${2:-2}
shift 2
[[ ${1:-} == -- ]] && shift
ticks=$(getconf CLK_TCK)
keys=20

cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Waits until the process has used less than a tick in half a second.
settle() {
    local last now
    last=$(cpu "$1")
    while sleep 0.5; now=$(cpu "$1"); ((now - last > 0)); do last=$now; done
}

for ((round = 1; round <= rounds; ++round)); do
    for program in "$@"; do
        state=$(mktemp -d)
        start=$(date +%s.%N)
        XDG_STATE_HOME=$state XDG_DATA_HOME=$state "$program" "$file" >/dev/null 2>&1 &
        pid=$!
        window=$(xdotool search --sync --onlyvisible --pid "$pid" --name "$(basename "$file")" |
                 head -1)
        shown=$(date +%s.%N)
        at_window=$(cpu "$pid")
        settle "$pid"
        opened=$(cpu "$pid")
        sleep 10
        idle=$(($(cpu "$pid") - opened))
        # Into the text near the top left, clear of the engine window; typed as real key
        # presses, which Qt takes (it ignores keys sent to a window).
        xdotool mousemove --window "$window" 200 200 click 1
        sleep 1
        before=$(cpu "$pid")
        xdotool type --delay 100 "$(printf 'x%.0s' $(seq $keys))"
        settle "$pid"
        typed=$(($(cpu "$pid") - before))
        kill "$pid"
        wait "$pid" 2>/dev/null || true
        rm -rf "$state"
        awk -v p="$program" -v w="$(echo "$shown - $start" | bc)" -v a="$at_window" \
            -v o="$opened" -v i="$idle" -v t="$typed" -v k="$keys" -v hz="$ticks" 'BEGIN {
            printf "%s\n  window after %.2f s, CPU %.2f s by then, %.2f s until quiet\n", p, w, a / hz, o / hz
            printf "  idle %.2f%% CPU over 10 s; typing %.1f ms CPU per key\n", i / hz * 10, t / hz * 1000 / k }'
    done
done
