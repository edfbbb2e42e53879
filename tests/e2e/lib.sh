# Shared by the end-to-end scripts, run as  bash <group>.sh <zemlar.scr>  and then again inside a
# private Xvfb. Each check gets a fresh working directory for ZemlarConf.cfg and screenshots.
set -uo pipefail
e2e_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
[ $# -ge 1 ] && [ -f "$1" ] || { echo "usage: $0 <path of zemlar.scr>" >&2; exit 2; }
# A missing tool fails the run by name; it never lets a check pass on empty output.
for tool in xdotool xdpyinfo import convert perl od awk; do
    command -v "$tool" >/dev/null || { echo "FAIL  $tool is missing" >&2; exit 1; }
done
if [ -z "${E2E_IN_XVFB:-}" ]; then
    export E2E_IN_XVFB=1
    exec "$e2e_root/scripts/with-xvfb" bash "$(cd "$(dirname "$0")" && pwd)/$(basename "$0")" "$@"
fi
saver="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
bin="$(dirname "$saver")"
export WINEPREFIX="${WINEPREFIX:-$(dirname "$bin")/wineprefix-e2e}"
group="$(basename "$0" .sh)"
work_root="$(dirname "$bin")/e2e-work/$group"
rm -rf "$work_root"
failures=0 checks=0 background=()

log() { printf '%s\n' "$*"; }
wine_run() { "$e2e_root/tools/wine-run" "$@"; }
win_path() { printf 'Z:%s' "${1//\//\\}"; }  # Wine's Z: drive is the Unix root.
new_workdir() { work="$work_root/$1" && mkdir -p "$work" && cd "$work" || exit 1; }
check() {  # description, command...
    checks=$((checks + 1))
    "${@:2}" && log "ok    $1" || { failures=$((failures + 1)) && log "FAIL  $1"; }
}
equal() { [ "$1" = "$2" ] || { log "      got '$1', expected '$2'"; return 1; }; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }' || { log "      $1 <= $2"; return 1; }; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }' || { log "      $1 >= $2"; return 1; }; }
wait_until() {  # seconds, command...: polls every 0.1 s
    local deadline=$(($(date +%s) + $1))
    until "${@:2}"; do
        [ "$(date +%s)" -lt "$deadline" ] && sleep 0.1 || return 1
    done
}

# Runs a Windows program with its exit status. Wine's start.exe, which opens a .scr, about once
# in fifty starts fails before the program runs ("ShellExecuteEx failed"); that start is repeated.
launch() {  # program, arguments...
    local attempt rc
    for attempt in 1 2 3; do
        wine_run "$@" >"$work/stdout.txt" 2>"$work/stderr.txt"
        rc=$?
        [ "$rc" -eq 1 ] && grep -q 'ShellExecuteEx failed' "$work/stdout.txt" || return "$rc"
        log "note  Wine's launcher failed to start $(basename "$1") (attempt $attempt)"
    done
    return "$rc"
}
start() { launch "$@" & pid=$! && background+=("$pid"); }  # In the background, its id in pid.
running() { kill -0 "$1" 2>/dev/null; }
wait_status() {  # pid, seconds: its exit status into `status`, "running" if it did not end
    status=running
    wait_until "$2" eval "! running $1" && { wait "$1"; status=$?; }
}
window_shown() { xdotool search --name "$1" >/dev/null 2>&1; }
saver_window_shown() { window_shown '^Screen Saver$'; }
shot() { png="$work/$1.png" && import -window root "$png"; }  # Its path into png.

# The share of pixels of a picture (or of its crop WxH+X+Y) that are lit (some channel above
# 15 %), blue (blue above red by more than 30 %), white (all above 60 %) or dark (all below 40 %).
fraction() {  # png, kind, [crop]
    local crop=() ops
    [ $# -ge 3 ] && crop=(-crop "$3" +repage)
    case "$2" in
        lit) ops=(-separate -evaluate-sequence max -threshold 15%) ;;
        blue) ops=(-color-matrix '-1 0 1 0 0 0 0 0 0' -channel R -separate +channel -threshold 30%) ;;
        white) ops=(-separate -evaluate-sequence min -threshold 60%) ;;
        dark) ops=(-separate -evaluate-sequence max -threshold 40% -negate) ;;
    esac
    convert "$1" "${crop[@]}" "${ops[@]}" -format '%[fx:mean]' info:
}

# What Wine sees (mode, saver windows and processes) and what X sees (screen size and depth);
# after a run no saver process or window remains and the display mode is the desktop's again.
wine_view() { wine_run "$bin/e2e-probe.exe" "$@" | tr -d '\r'; }
x_view() { echo "$(xdotool getdisplaygeometry) depth $(xdpyinfo | sed -n 's/.*depth of root window: *//p')"; }
desktop_wine="$(wine_view | cut -d' ' -f1) saver-windows=0 saver-processes=0"
desktop_x="$(x_view)"
read -r screen_width screen_height _ depth <<<"$desktop_x"
[[ "$desktop_wine" == mode=[1-9]* && "$depth" == [1-9]* ]] ||
    { echo "FAIL  cannot read the desktop: '$desktop_wine' '$desktop_x'" >&2; exit 1; }
nothing_left() {
    wait_until 10 eval '[ "$(wine_view)" = "$desktop_wine" ]'
    equal "$(wine_view)" "$desktop_wine" && equal "$(x_view)" "$desktop_x" && ! saver_window_shown
}

# A 24-byte settings file: flags clear, info, incz; field of view; balls per line.
write_settings() {  # clear, info, incz, fov, balls, [file]
    perl -e 'print pack("CCC x5 d< l< x4", @ARGV)' "$1" "$2" "$3" "$4" "$5" >"${6:-ZemlarConf.cfg}"
}
hex() { od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

cleanup() { kill "${background[@]}" 2>/dev/null; wineserver -k 2>/dev/null; wait 2>/dev/null; }
trap cleanup EXIT
finish() {
    cleanup
    trap - EXIT
    log "$group: $((checks - failures)) of $checks checks passed"
    [ "$failures" -eq 0 ] && rm -rf "$work_root"
    exit $((failures > 0))
}

# The screen without the panel's corner and the logo's band, the band, the corner, the number.
middle="${screen_width}x$((screen_height - 230))+0+90"
logo_band="256x128+$((screen_width - 256))+$((screen_height - 128))"
panel_corner="216x72+0+0"
panel_number="70x14+94+33"
# The full-screen saver, the pointer parked at 300,300 first, up to its first frame: balls lit
# in the middle of the screen.
start_saver() {  # program
    xdotool mousemove 300 300
    start "$1" /s
    wait_until 30 saver_window_shown && wait_until 30 lit_in "$middle" 0.0003
}
lit_in() {  # crop, share: a screenshot with more than that share lit there
    import -window root "$work/frame.png" 2>/dev/null &&
        above "$(fraction "$work/frame.png" lit "$1")" "$2" >/dev/null
}
