#!/usr/bin/env bash
# Runs the present demo under Wine on the current X display, takes a screenshot while it shows
# its frames and checks, in the screenshot, that each sprite's background let through what lies
# under it. Exits non-zero when the demo's own checks or the screenshot's fail.
#
# Usage: run-demo.sh <present-demo.exe> <screenshot.png>   (WINEPREFIX and DISPLAY set)
set -euo pipefail
demo="$1"
shot="$2"
: "${DISPLAY:?run under scripts/with-xvfb: the demo needs an X display}"
root="$(cd "$(dirname "$0")/../.." && pwd)"
mkdir -p "$(dirname "$shot")"

# The full-screen flip chain needs Wine's default (OpenGL) renderer; pin it for this program
# so that a prefix-wide GDI setting for windowed programs cannot take it away.
"$root/tools/wine-run" reg add 'HKCU\Software\Wine\AppDefaults\present-demo.exe\Direct3D' \
    /v renderer /t REG_SZ /d gl /f >/dev/null

read -r width height < <(xdotool getdisplaygeometry)

# "r g b" of the screenshot's pixel at (x, y).
pixel() {
    convert "$shot" -crop "1x1+$1+$2" -depth 8 txt:- |
        sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}
failures=()
expect() {  # description, x, y, awk condition on r g b
    local r g b
    read -r r g b < <(pixel "$2" "$3")
    if ! awk -v r="$r" -v g="$g" -v b="$b" "BEGIN { exit !($4) }"; then
        failures+=("$1: ($2, $3) is $r,$g,$b")
    fi
}
black='r < 16 && g < 16 && b < 16'
dark_blue='b > 50 && b > r + 30 && r < 80'
check_screenshot() {
    failures=()
    expect "blue ball's background on black" 400 300 "$black"
    expect "blue ball's centre" 407 307 'b > 120 && b > r + 40'
    expect "white ball's background on black" 430 300 "$black"
    expect "white ball's centre" 437 307 'r > 120 && g > 120 && b > 120'
    expect "blue ball's background over the panel's plate" 182 14 "$dark_blue"
    expect "white ball's background over the logo's band" $((width - 56)) $((height - 68)) "$dark_blue"
    expect "logo's background" $((width - 256)) $((height - 128)) "$black"
    expect "logo's band" $((width - 26)) $((height - 28)) "$dark_blue"
    expect "panel's background" 230 100 "$black"
    expect "panel's plate" 180 30 "$dark_blue"
    expect "ball cut by the right edge" $((width - 2)) 307 'b > 120'
    [ ${#failures[@]} -eq 0 ]
}

"$root/tools/wine-run" "$demo" 6000 &
demo_pid=$!
# The frames start once Wine has set up the display; look until they show or time runs out.
shown=false
for _ in $(seq 40); do
    sleep 0.25
    kill -0 "$demo_pid" 2>/dev/null || break
    import -window root "$shot" 2>/dev/null || continue
    if check_screenshot; then
        shown=true
        break
    fi
done
status=0
wait "$demo_pid" || status=$?

echo "screenshot: $shot"
if ! $shown; then
    printf 'screenshot check failed: %s\n' "${failures[@]}"
fi
echo "present-demo exit code: $status"
$shown && [ "$status" -eq 0 ]
