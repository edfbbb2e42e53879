#!/usr/bin/env bash
# The full-screen saver (/s) as a user sees it: the picture, trails, and what ends it.
source "$(dirname "$0")/lib.sh"

new_workdir key
check "/s shows the saver and its first frame" start_saver "$saver"
first=$pid
shot saver
check "balls of both images over black" \
    eval 'above "$(fraction "$png" blue "$middle")" 0.005 &&
          above "$(fraction "$png" white "$middle")" 0.005 &&
          below "$(fraction "$png" lit "$middle")" 0.5'
check "the logo at the bottom right" above "$(fraction "$png" blue "$logo_band")" 0.1
check "the panel at the top left, with a number" \
    eval 'above "$(fraction "$png" blue "$panel_corner")" 0.1 &&
          above "$(fraction "$png" white "$panel_number")" 0.5 &&
          above "$(fraction "$png" dark "$panel_number")" 0.01'
start "$saver" /s
wait_status "$pid" 8
check "a second /s returns 0 at once, and the first saver still runs" \
    eval 'equal "$status" 0 && running "$first"'
xdotool mousemove 301 300 sleep 0.2 mousemove 304 304
sleep 1.5
check "moves of up to four pixels do not end it" running "$first"
xdotool key a
wait_status "$first" 15
check "a key press ends it with 0" equal "$status" 0
check "nothing is left behind" nothing_left

# ClearScreen off: each frame is drawn over the last one, so a cube of 3 x 3 x 3 moving towards
# the viewer soon lights twice what 27 balls cover.
new_workdir trails
write_settings 0 1 1 40 3
check "ClearScreen off: the saver starts" start_saver "$saver"
check "ClearScreen off leaves trails" wait_until 20 lit_in "$middle" \
    "$(awk -v a=$((2 * 27 * 16 * 16)) -v b=$((screen_width * (screen_height - 230))) 'BEGIN { print a / b }')"
xdotool mousemove 320 300
wait_status "$pid" 15
check "a mouse move of twenty pixels ends it with 0" equal "$status" 0
check "nothing is left behind" nothing_left

finish
