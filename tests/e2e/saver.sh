#!/usr/bin/env bash
# The full-screen saver (/s) as a user sees it: the picture, the logo leaving, and what ends it.
source "$(dirname "$0")/lib.sh"

# Default settings: balls, logo, panel; a second start; a jiggle; then a key press.
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
begun=$(date +%s%N)
start "$saver" /s
wait_status "$pid" 10
check "a second /s returns 0 at once" \
    eval '[ "$status" = 0 ] && [ $(($(date +%s%N) - begun)) -lt 8000000000 ]'
check "the first saver still runs" running "$first"
xdotool mousemove 301 300
sleep 1.5
check "a one-pixel jiggle does not end it" running "$first"
xdotool mousemove 300 301 sleep 0.2 mousemove 304 304
sleep 1
check "a move of four pixels does not end it" running "$first"
xdotool key a
wait_status "$first" 15
check "a key press ends it with 0" equal "$status" 0
check "nothing is left behind" nothing_left

new_workdir button
check "/s starts again" start_saver "$saver"
xdotool click 1
wait_status "$pid" 15
check "a button press ends it with 0" equal "$status" 0
check "nothing is left behind" nothing_left

# A wide field of view keeps the cube small and away from the logo's band, and a fixed
# distance keeps it there, so that the band shows the logo alone.
new_workdir logo-then-move
write_settings 1 1 0 90 9
# Taken before the start, so it is earlier than the saver's own clock.
begun=$(date +%s%N)
check "/s starts with a small cube" start_saver "$saver"
logo_gone() {
    import -window root "$work/frame.png" 2>/dev/null &&
        below "$(fraction "$work/frame.png" lit "$logo_band")" 0.002
}
shot logo-early
early="$png"
sleep 5
shot logo-later
check "the logo is shown and stays put during the first ten seconds" \
    eval 'above "$(fraction "$early" blue "$logo_band")" 0.1 &&
          below "$(difference "$early" "$png" "$logo_band")" 0.01'
check "after more than ten seconds the logo has left" wait_until 60 logo_gone
check "it left no sooner than ten seconds" \
    eval '[ $(($(date +%s%N) - begun)) -gt 10000000000 ]'
shot logo-gone
xdotool mousemove 320 300
wait_status "$pid" 15
check "a mouse move of twenty pixels ends it with 0" equal "$status" 0
check "nothing is left behind" nothing_left

finish
