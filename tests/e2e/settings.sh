#!/usr/bin/env bash
# Trails: with ClearScreen off each frame is drawn over the last one, so a cube of 3 x 3 x 3
# moving towards the viewer leaves a trail.
source "$(dirname "$0")/lib.sh"

new_workdir trails
write_settings 0 1 1 40 3
check "ClearScreen off: the saver starts" start_saver "$saver"
# Without trails the lit share never exceeds what 27 balls cover; with them it soon doubles that.
check "ClearScreen off leaves trails" wait_until 20 lit_in "$middle" \
    "$(awk -v a=$((2 * 27 * 16 * 16)) -v b=$((screen_width * (screen_height - 230))) 'BEGIN { print a / b }')"
xdotool key a
wait_status "$pid" 15
check "a key press ends it with 0" equal "$status" 0
check "nothing is left behind" nothing_left

finish
