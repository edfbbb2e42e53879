#!/usr/bin/env bash
# The full-screen saver (/s) as a user sees it: the picture, the logo leaving, and what ends it.
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

# A wide field of view and a fixed distance keep the cube small and away from the logo's band.
new_workdir logo-then-move
write_settings 1 1 0 90 9
begun=$(date +%s)  # Taken before the start: earlier than the saver's own clock.
check "/s starts with a small cube" start_saver "$saver"
shot logo-early
early="$png"
sleep 5
shot logo-later
check "the logo is shown and stays put during the first ten seconds" \
    eval 'above "$(fraction "$early" blue "$logo_band")" 0.1 &&
          below "$(difference "$early" "$png" "$logo_band")" 0.01'
check "the logo leaves, no sooner than ten seconds" \
    eval 'wait_until 60 eval "! lit_in $logo_band 0.002" && [ $(($(date +%s) - begun)) -ge 10 ]'
xdotool mousemove 320 300
wait_status "$pid" 15
check "a mouse move of twenty pixels ends it with 0" equal "$status" 0
check "nothing is left behind" nothing_left

finish
