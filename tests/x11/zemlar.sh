#!/usr/bin/env bash
# The real zemlar in a private Xvfb of 1024 x 768: its picture, its options, the windows it
# draws into, its end on SIGTERM and its answers to bad input.   bash zemlar.sh <zemlar>
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
[ $# -ge 1 ] && [ -x "$1" ] || { echo "usage: $0 <path of zemlar>" >&2; exit 2; }
if [ -z "${ZEMLAR_X11_IN_XVFB:-}" ]; then
    export ZEMLAR_X11_IN_XVFB=1
    XVFB_GEOMETRY=1024x768x24 exec "$root/scripts/with-xvfb" bash "$0" "$@"
fi
zemlar="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
for tool in xdotool xwininfo xev import convert compare; do
    command -v "$tool" >/dev/null || { echo "FAIL  the tool $tool is missing"; exit 1; }
done
work="$(mktemp -d)"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT
failures=0

check() {  # description, command...
    if "${@:2}"; then echo "ok    $1"; else failures=$((failures + 1)); echo "FAIL  $1"; fi
}
shot() { import -window root "$work/$1.png"; }
# Share of a crop (WxH+X+Y) that is lit (some channel above 15 %) or clearly blue.
lit() { convert "$1" -crop "$2" +repage -separate -evaluate-sequence max -threshold 15% -format '%[fx:mean]' info:; }
blue() { convert "$1" -crop "$2" +repage -color-matrix '-1 0 1 0 0 0 0 0 0' -channel R -separate +channel -threshold 30% -format '%[fx:mean]' info:; }
white() { convert "$1" -crop "$2" +repage -separate -evaluate-sequence min -threshold 60% -format '%[fx:mean]' info:; }
dark() { convert "$1" -crop "$2" +repage -separate -evaluate-sequence max -threshold 40% -negate -format '%[fx:mean]' info:; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }' || { echo "      $1 is not above $2"; return 1; }; }
# A crop of a screenshot equals a crop of a picture from src/res.   png, crop, bmp, crop
same_as() {
    convert "$1" -crop "$2" +repage "$work/a.png" && convert "$root/src/res/$3" -crop "$4" +repage "$work/b.png"
    local n; n=$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 | cut -d' ' -f1)
    [ "$n" = 0 ] || { echo "      $n pixels differ"; return 1; }
}
# The whole picture is drawn once some of the middle is lit, within ten seconds.
wait_frame() {
    for _ in $(seq 50); do
        shot probe && above "$(lit "$work/probe.png" 400x300+312+234)" 0.001 >/dev/null && return 0
        sleep 0.2
    done
    return 1
}
window_named() { # name; its id goes into `id`
    for _ in $(seq 50); do id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1); [ -n "$id" ] && return; sleep 0.1; done
}
ended_within() {  # pid, milliseconds; the exit status goes into `status`
    local deadline=$(($(date +%s%N) + $2 * 1000000))
    while kill -0 "$1" 2>/dev/null; do
        [ "$(date +%s%N)" -lt "$deadline" ] || { status=running; return 1; }
        sleep 0.02
    done
    wait "$1"; status=$?
}
start() { "$@" & pids+=($!); }  # In the background, ended by the EXIT trap at the latest.
panel=180x20+20+50        # Plate of the panel, clear of the frame-rate text.
logo=150x50+100+75        # Band of the logo.

# The picture: balls of both images, the panel with the frame rate, the logo in the corner.
start "$zemlar" -root
check "a frame appears on the root window" wait_frame
shot full
check "blue balls" above "$(blue "$work/full.png" 600x400+212+184)" 0.02
check "white balls" above "$(white "$work/full.png" 600x400+212+184)" 0.02
check "the panel in the top-left corner" same_as "$work/full.png" $panel panel.bmp $panel
check "the logo in the bottom-right corner" same_as "$work/full.png" 150x50+868+715 logo.bmp $logo
check "the frame rate in black at (95, 32)" above "$(dark "$work/full.png" 16x10+95+35)" \
    "$(awk -v d="$(dark "$root/src/res/panel.bmp" 16x10+95+35)" 'BEGIN { print d + 0.1 }')"
kill -TERM "${pids[-1]}"
check "SIGTERM ends it within a second, with status 0" eval 'ended_within ${pids[-1]} 1000 && [ $status = 0 ]'

# Few balls and no panel from options; the same from a settings file, which a later option
# overrides: 3 balls a line, panel off, camera still, then -info after it.
printf '\001\000\000\000\000\000\000\000\000\000\000\000\000\000\104\100\003\000\000\000\000\000\000\000' >"$work/ZemlarConf.cfg"
for run in "-balls 3 -no-info" "-settings $work/ZemlarConf.cfg -info"; do
    # shellcheck disable=SC2086
    start "$zemlar" -root $run
    wait_frame
    sleep 1
    shot few
    kill -TERM "${pids[-1]}"
    check "$run: few balls" eval 'above 0.02 "$(lit "$work/few.png" 600x400+212+184)"'
    [ "$run" = "-balls 3 -no-info" ] && check "$run: no panel" above 0.1 "$(lit "$work/few.png" $panel)"
    [ "$run" = "-balls 3 -no-info" ] || check "$run: the panel" same_as "$work/few.png" $panel panel.bmp $panel
done

# Another client's window, named by -window-id in decimal, then by XSCREENSAVER_WINDOW in
# hexadecimal over -root: the picture goes into that window and nowhere else.
start xev -geometry 400x300+300+40 -name host >/dev/null
window_named host
host=$id
for way in window-id environment; do
    [ "$way" = window-id ] && start "$zemlar" -window-id "$host"
    [ "$way" = window-id ] || start env XSCREENSAVER_WINDOW="$(printf '0x%x' "$host")" "$zemlar" -root
    sleep 2
    shot window
    check "$way: balls in the window" above "$(blue "$work/window.png" 380x200+310+80)" 0.01
    check "$way: nothing on the root" eval '! above "$(lit "$work/window.png" 290x700+0+60)" 0 >/dev/null'
    [ "$way" = window-id ] || { kill -TERM "${pids[-1]}"; break; }
    # A new size sets the scene up again: the logo moves to the new corner.
    xdotool windowsize "$host" 600 500
    sleep 1
    shot resized
    # Where the window's inside starts on the screen, within its border.
    read -r x y < <(xwininfo -id "$host" | awk '/Absolute upper-left X/ { x = $4 }
        /Absolute upper-left Y/ { y = $4 } /Border width/ { b = $3 } END { print x + b, y + b }')
    check "a resized window gets the logo in its new corner" \
        same_as "$work/resized.png" 150x50+$((x + 344 + 100))+$((y + 372 + 75)) logo.bmp $logo
    kill -TERM "${pids[-1]}"
done

# Its own window ends with q and with Escape.
for key in q Escape; do
    start "$zemlar" -window
    window_named Zemlar
    xdotool key --window "$id" "$key" 2>/dev/null
    check "$key ends its own window with status 0" eval 'ended_within ${pids[-1]} 2000 && [ $status = 0 ]'
done

# Bad input: a short usage and status 1, never a crash.
bad_runs=("-bogus" "-balls" "-balls 0" "-balls 101" "-balls x" "-delay -1" "-fov 180"
          "-fov nan" "-window-id 0" "-window-id 0xZZ" "-window-id -5")
refused() {  # message, run...
    timeout 5 "${@:2}" 2>"$work/err.txt"
    [ $? = 1 ] && grep -q "$1" "$work/err.txt"
}
for run in "${bad_runs[@]}"; do
    # shellcheck disable=SC2086
    check "$run: status 1 with the usage" refused "^usage:" "$zemlar" $run
done
check "a bad XSCREENSAVER_WINDOW: status 1" refused "^usage:" env XSCREENSAVER_WINDOW=junk "$zemlar"
check "a window id that names no window: status 1" refused "no window" "$zemlar" -window-id 0x1fffff0

[ "$failures" = 0 ] && echo "all checks passed" || echo "$failures checks failed"
exit $((failures > 0))
