#!/usr/bin/env bash
# The settings dialog as a user meets it: started with /c and with no switch, read on screen,
# typed into, confirmed with Enter or left with Escape; judged by the file and the exit status.
source "$(dirname "$0")/lib.sh"

title='Zemlar configuration box'

# Waits for the dialog and puts its screen rectangle into dx, dy, dw, dh.
open_dialog() {  # switch or nothing
    start "$saver" "$@"
    wait_until 30 window_shown "^$title\$" || return 1
    local id
    id="$(xdotool search --name "^$title\$" | head -1)"
    eval "$(xdotool getwindowgeometry --shell "$id")"
    dx=$X dy=$Y dw=$WIDTH dh=$HEIGHT
    dialog_name="$(xdotool getwindowname "$id")"
    # Keys go to the window under the pointer (there is no window manager).
    xdotool mousemove $((dx + dw / 2)) $((dy + dh / 2))
    sleep 0.3
}

# A crop of the dialog given in dialog units (the template's 207 x 151 units fill the window).
dlu() {  # x, y, width, height
    printf '%dx%d+%d+%d' $(($3 * dw / 207)) $(($4 * dh / 151)) $((dx + $1 * dw / 207)) \
        $((dy + $2 * dh / 151))
}

# Share of dark pixels inside a check box: its tick.
tick() {  # y of the box in dialog units
    convert "$png" -crop "$(dlu 86 $(($1 + 1)) 6 7)" +repage -colorspace gray -threshold 30% \
        -negate -format '%[fx:mean]' info:
}

ticked() { above "$(tick "$1")" 0.2; }
unticked() { below "$(tick "$1")" 0.05; }

no_file() { [ ! -e ZemlarConf.cfg ]; }

# /c without a settings file: the defaults on screen, and Enter writes them.
new_workdir configure-defaults
if check "/c shows the dialog" open_dialog /c; then
    shot dialog-defaults
    check "its title is \"$title\"" equal "$dialog_name" "$title"
    check "the picture shows blue and white balls" \
        eval 'above "$(fraction "$png" blue "$(dlu 8 8 67 65)")" 0.05 &&
              above "$(fraction "$png" white "$(dlu 8 8 67 65)")" 0.02'
    check "the edit fields are white and the Model list is greyed" \
        eval 'above "$(fraction "$png" paper "$(dlu 168 17 28 8)")" 0.6 &&
              above "$(fraction "$png" paper "$(dlu 168 38 28 8)")" 0.6 &&
              below "$(fraction "$png" paper "$(dlu 138 57 40 7)")" 0.1'
    check "the three boxes are checked" eval 'ticked 80 && ticked 90 && ticked 100'
    xdotool key Return
fi
wait_status "$pid" 15
check "Enter ends the dialog with 42" equal "$status" 42
check "Enter writes the defaults shown: 9 balls, 40 degrees, three boxes" \
    equal "$(hex ZemlarConf.cfg)" "$(settings_hex 1 1 1 40 9)"
check "nothing is left behind" nothing_left

# No switch: new values typed in, boxes toggled, Enter.
new_workdir no-switch-typed
if check "no switch shows the dialog" open_dialog; then
    # Focus starts on OK; the tab order is OK, Cancel, FOV, Clear screen, Display
    # informations, ball count, Inc Z pos. Tabbing into an edit field selects its text.
    xdotool key Tab Tab
    xdotool type 75
    xdotool key Tab space Tab Tab
    xdotool type 5
    xdotool key Tab space
    shot dialog-typed
    xdotool key Return
fi
wait_status "$pid" 15
check "the typed dialog ends with 42" equal "$status" 42
check "the file holds exactly the typed values" \
    equal "$(hex ZemlarConf.cfg)" "$(settings_hex 0 1 0 75 5)"
check "nothing is left behind" nothing_left

# Escape: nothing written.
new_workdir configure-escape
if check "/c shows the dialog again" open_dialog /c; then
    xdotool key Tab Tab
    xdotool type 12
    xdotool key Escape
fi
wait_status "$pid" 15
check "Escape ends the dialog with 42" equal "$status" 42
check "Escape writes no file" no_file
check "nothing is left behind" nothing_left

# An existing file: its values are shown, and an unchanged OK writes back what was shown
# (the field of view truncated) and keeps the reserved bytes.
new_workdir configure-existing
perl -e 'print pack("CCC a5 d< l< a4", 0, 2, 0, "ABCDE", 37.5, 12, "WXYZ")' >ZemlarConf.cfg
if check "/c shows the dialog over an existing file" open_dialog /c; then
    shot dialog-existing
    check "only Display informations is checked" eval 'unticked 80 && ticked 90 && unticked 100'
    xdotool key Return
fi
wait_status "$pid" 15
check "the unchanged dialog ends with 42" equal "$status" 42
perl -e 'print pack("CCC a5 d< l< a4", 0, 1, 0, "ABCDE", 37, 12, "WXYZ")' >"$work/expected.cfg"
check "OK writes back 12 balls and 37 degrees as shown, with the reserved bytes" \
    equal "$(hex ZemlarConf.cfg)" "$(hex "$work/expected.cfg")"
check "nothing is left behind" nothing_left

finish
