#!/usr/bin/env bash
# The full-screen start-and-close cycle, N times in a row (default 3): start, wait for the first
# frame, a key press, exit status 0, nothing left. Prints the count that passed and the time
# per cycle.   Usage: cycles.sh <zemlar.scr> [N]
source "$(dirname "$0")/lib.sh"

count="${1:-3}"
passed=0
total_ms=0
for n in $(seq "$count"); do
    new_workdir "cycle-$n"
    begun=$(date +%s%N)
    ok=1
    start_saver "$saver" || ok=0
    xdotool key a
    wait_status "$pid" 15
    [ "$status" = 0 ] || ok=0
    # The process is gone; Wine must not see it or its window either.
    [ "$(wine_view)" = "$desktop_wine" ] || ok=0
    ms=$((($(date +%s%N) - begun) / 1000000))
    total_ms=$((total_ms + ms))
    if [ "$ok" = 1 ]; then
        passed=$((passed + 1))
    else
        log "      cycle $n failed (status $status)"
    fi
done
log "cycles: $passed of $count passed, $((total_ms / count)) ms per cycle on average"
check "every start-and-close cycle ended with 0 and left nothing" equal "$passed" "$count"
finish
