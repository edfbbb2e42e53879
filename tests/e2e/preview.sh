#!/usr/bin/env bash
# The preview (/p) inside the host that stands in for the display settings page. Wine 8 shows
# nothing that a process draws into another process's window, so the preview is judged by its
# window, its process and its ending.
source "$(dirname "$0")/lib.sh"

# Windowed DirectDraw with a clipper bound to a child window needs Wine's GDI renderer; it is
# set for a copy of the saver only, so that full-screen runs keep the default renderer.
wine_run reg add 'HKCU\Software\Wine\AppDefaults\zemlarpv.scr\Direct3D' /v renderer \
    /d gdi /f >/dev/null

new_workdir host
cp "$saver" zemlarpv.scr
xdotool mousemove 5 5
start "$bin/preview-host.exe" "$(win_path "$work/zemlarpv.scr")"
hosted=$pid
area_line() { tr -d '\r' <"$work/stdout.txt" | grep '^preview area'; }
check "the host shows its preview area" wait_until 30 area_line
read -r _ _ area _ area_at _ <<<"$(area_line)"
preview_up() { wine_view | grep -q "preview-parent=$area preview-rect=$area_at,152x112 visible=1"; }
check "the saver's preview window fills the area (152 x 112 at $area_at)" wait_until 30 preview_up
xdotool mousemove $((${area_at%,*} + 70)) $((${area_at#*,} + 50)) sleep 0.2 click 1 key a
sleep 1.5
check "key presses, clicks and mouse moves over it do not end it" \
    eval 'wine_view | grep -q saver-processes=1 && running "$hosted"'
xdotool key Escape
wait_status "$hosted" 30
check "closing the host ends the saver with 0" equal "$status" 0
check "the host saw the saver end after it closed" grep -q 'saver ended with status 0' stdout.txt
check "nothing is left behind" nothing_left

finish
