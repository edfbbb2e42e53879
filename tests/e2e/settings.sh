#!/usr/bin/env bash
# The settings file shapes the full-screen run: fewer balls, trails, no panel; broken files run
# without a crash and end cleanly on input.
source "$(dirname "$0")/lib.sh"

lit_pixels() {  # png, crop
    local width height
    IFS='x+' read -r width height _ <<<"$2"
    awk -v f="$(fraction "$1" lit "$2")" -v a=$((width * height)) 'BEGIN { printf "%d", f * a }'
}
# A ball is a 16 x 16 picture; the cube of 3 x 3 x 3 shows at most 27 of them.
max_27_balls=$((27 * 16 * 16))

end_with_key() {
    xdotool key a
    wait_status "$pid" 15
    check "$1: a key press ends it with 0" equal "$status" 0
    check "$1: nothing is left behind" nothing_left
}

new_workdir three-per-line
write_settings 1 1 0 40 3
check "BallsPerLine 3: the saver starts" start_saver "$saver"
sleep 1
shot balls-3
blobs_seen=$(blobs "$png" "$middle")
check "BallsPerLine 3: 27 balls or fewer ($blobs_seen blobs)" \
    eval '[ "$blobs_seen" -ge 1 ] && [ "$blobs_seen" -le 27 ] &&
          [ "$(lit_pixels "$png" "$middle")" -le "$max_27_balls" ]'
end_with_key "BallsPerLine 3"

# The cube moves towards the viewer, so its balls move on the screen even if it does not spin.
new_workdir trails
write_settings 0 1 1 40 3
check "ClearScreen off: the saver starts" start_saver "$saver"
sleep 3
shot trails
trail_pixels=$(lit_pixels "$png" "$middle")
check "ClearScreen off leaves trails ($trail_pixels lit pixels, more than 27 balls cover)" \
    [ "$trail_pixels" -gt $((2 * max_27_balls)) ]
end_with_key "ClearScreen off"

# A wide field of view keeps the cube away from the panel's corner.
new_workdir no-panel
write_settings 1 0 0 90 9
check "DisplayInformations off: the saver starts" start_saver "$saver"
sleep 1.5
shot no-panel
check "DisplayInformations off: the corner stays black" \
    below "$(fraction "$png" lit "$panel_corner")" 0.002
end_with_key "DisplayInformations off"

broken_run() {  # name; the settings file is in place
    xdotool mousemove 300 300
    start "$saver" /s
    check "$1: the saver window appears" wait_until 30 saver_window_shown
    sleep 2
    check "$1: still running after two seconds" running "$pid"
    end_with_key "$1"
}
new_workdir empty-file
: >ZemlarConf.cfg
broken_run "empty file"
new_workdir ten-bytes
write_settings 1 1 1 40 9
head -c 10 ZemlarConf.cfg >short.cfg && mv short.cfg ZemlarConf.cfg
broken_run "10-byte file"
new_workdir fov-zero
write_settings 1 1 1 0 9
broken_run "field of view 0"
new_workdir fov-nan
write_settings 1 1 1 NaN 9
broken_run "field of view NaN"
new_workdir balls-minus-5
write_settings 1 1 1 40 -5
broken_run "ball count -5"
new_workdir balls-2000000
write_settings 1 1 1 40 2000000
broken_run "ball count 2000000"

finish
