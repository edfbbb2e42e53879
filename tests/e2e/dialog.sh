#!/usr/bin/env bash
# The settings dialog as a user meets it: started with /c and with no switch, typed into,
# confirmed with Enter or left with Escape; judged by what the dialog holds, the file and the
# exit status. The check boxes are read from the dialog itself, so no font decides.
source "$(dirname "$0")/lib.sh"

title='Zemlar configuration box'
dialog_state() { wine_view dialog; }

open_dialog() {  # switch or nothing
    start "$saver" "$@"
    wait_until 30 window_shown "^$title\$" || return 1
    eval "$(xdotool getwindowgeometry --shell "$(xdotool search --name "^$title\$" | head -1)")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))  # Keys go to the window under it.
    sleep 0.3
}
# Ends the dialog with a key and checks the exit status and the file against the expected bytes.
close_with() {  # key, what, expected hex or "none"
    xdotool key "$1"
    wait_status "$pid" 15
    check "$1 ends the dialog with 42" equal "$status" 42
    check "$2" equal "$( [ -e ZemlarConf.cfg ] && hex ZemlarConf.cfg || echo none)" "$3"
    check "nothing is left behind" nothing_left
}
settings_hex() { write_settings "$@" "$work/expected.cfg" && hex "$work/expected.cfg"; }

new_workdir configure-defaults
if check "/c shows the dialog" open_dialog /c; then
    shot dialog-defaults
    # The picture's place in dialog units (8, 8, 67 x 65 of the template's 207 x 151).
    picture="$((67 * WIDTH / 207))x$((65 * HEIGHT / 151))+$((X + 8 * WIDTH / 207))+$((Y + 8 * HEIGHT / 151))"
    check "the picture shows blue and white balls" \
        eval 'above "$(fraction "$png" blue "$picture")" 0.05 &&
              above "$(fraction "$png" white "$picture")" 0.02'
    check "all three boxes ticked, the model list greyed, OK focused" \
        equal "$(dialog_state)" "checks=111 model-enabled=0 focus=1"
fi
close_with Return "Enter writes the defaults shown: 9 balls, 40 degrees, three boxes" \
    "$(settings_hex 1 1 1 40 9)"

# Focus starts on OK; the tab order is OK, Cancel, FOV, Clear screen, Display informations,
# ball count, Inc Z pos. Tabbing into an edit field selects its text.
new_workdir no-switch-typed
if check "no switch shows the dialog" open_dialog; then
    xdotool key Tab Tab type 75
    xdotool key Tab space Tab Tab type 5
    xdotool key Tab space
    check "the toggled boxes show as typed" equal "$(dialog_state | cut -d' ' -f1)" "checks=010"
fi
close_with Return "the file holds exactly the typed values" "$(settings_hex 0 1 0 75 5)"

new_workdir configure-escape
if check "/c shows the dialog again" open_dialog /c; then
    xdotool key Tab Tab type 12
fi
close_with Escape "Escape writes no file" none

# An unchanged OK writes back what was shown (the field of view truncated) and keeps the
# reserved bytes.
new_workdir configure-existing
perl -e 'print pack("CCC a5 d< l< a4", 0, 2, 0, "ABCDE", 37.5, 12, "WXYZ")' >ZemlarConf.cfg
perl -e 'print pack("CCC a5 d< l< a4", 0, 1, 0, "ABCDE", 37, 12, "WXYZ")' >"$work/expected.cfg"
if check "/c shows the dialog over an existing file" open_dialog /c; then
    check "only Display informations is ticked" equal "$(dialog_state | cut -d' ' -f1)" "checks=010"
fi
close_with Return "OK writes back 12 balls and 37 degrees as shown, with the reserved bytes" \
    "$(hex "$work/expected.cfg")"

finish
