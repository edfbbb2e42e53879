# Shared by the end-to-end scripts; each sources it first:   bash <group>.sh <zemlar.scr> [args]
#
# The script then runs again inside a private Xvfb (scripts/with-xvfb), with WINEPREFIX taken
# from the environment (ctest sets it) or defaulting to a prefix beside the build's bin folder.
# Every Wine process goes through tools/wine-run, which creates the prefix on first use. Each
# check gets a fresh working directory, where the saver reads and writes ZemlarConf.cfg.
# Screenshots stay in the working directories; with E2E_SHOTS set, the named ones are also
# copied there as e2e-<build>-<name>.png.
set -uo pipefail

e2e_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
e2e_script="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
if [ $# -lt 1 ] || [ ! -f "$1" ]; then
    echo "usage: $0 <path of zemlar.scr> [arguments]" >&2
    exit 2
fi
if [ -z "${E2E_IN_XVFB:-}" ]; then
    export E2E_IN_XVFB=1
    exec "$e2e_root/scripts/with-xvfb" bash "$e2e_script" "$@"
fi

saver="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
shift
bin="$(dirname "$saver")"
build="$(dirname "$bin")"
build_name="$(basename "$build")"
probe="$bin/e2e-probe.exe"
host="$bin/preview-host.exe"
standins="$bin/win98"
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix-e2e}"
group="$(basename "$0" .sh)"
work_root="$build/e2e-work/$group"
rm -rf "$work_root"
mkdir -p "$work_root"

failures=0
checks=0
background=()
started_at=$(date +%s.%N)

log() { printf '%s\n' "$*"; }

# Runs a Windows program under Wine in the test prefix.
wine_run() { "$e2e_root/tools/wine-run" "$@"; }

# The Windows form of a Unix path (Wine's Z: drive).
win_path() { printf 'Z:%s' "${1//\//\\}"; }

# Makes and enters a fresh working directory for one check.
new_workdir() {
    work="$work_root/$1"
    rm -rf "$work"
    mkdir -p "$work"
    cd "$work" || exit 1
}

check() {  # description, command...
    local description="$1"
    shift
    checks=$((checks + 1))
    if "$@"; then
        log "ok    $description"
    else
        failures=$((failures + 1))
        log "FAIL  $description"
    fi
}

equal() { [ "$1" = "$2" ] || { log "      got '$1', expected '$2'"; return 1; }; }

# Polls a command every 0.1 s until it succeeds or the seconds run out.
wait_until() {  # seconds, command...
    local deadline
    deadline=$(($(date +%s%N) + ${1%.*} * 1000000000))
    shift
    until "$@"; do
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# Runs a Windows program; its exit status is the program's. Wine hands a .scr to its start.exe,
# whose ShellExecuteEx now and then fails before the program runs ("Internal error", status 1,
# about once in fifty starts here); such a start is logged and made again.
launch() {  # program, arguments...
    local attempt rc
    for attempt in 1 2 3; do
        wine_run "$@" >"$work/stdout.txt" 2>"$work/stderr.txt"
        rc=$?
        if [ "$rc" -ne 1 ] || ! grep -q 'ShellExecuteEx failed' "$work/stdout.txt"; then
            return "$rc"
        fi
        log "note  Wine's launcher failed to start $(basename "$1") (attempt $attempt); starting again"
    done
    return "$rc"
}

# Starts a Windows program in the background; the id to wait for goes into `pid`.
start() {  # program, arguments...
    launch "$@" &
    pid=$!
    background+=("$pid")
}

running() { kill -0 "$1" 2>/dev/null; }

# Waits for a background process to end and puts its exit status into `status`
# ("running" when it did not end in time).
wait_status() {  # pid, seconds
    status=running
    if wait_until "$2" eval "! running $1"; then
        wait "$1"
        status=$?
    fi
}

saver_window_shown() { xdotool search --name '^Screen Saver$' >/dev/null 2>&1; }
window_shown() { xdotool search --name "$1" >/dev/null 2>&1; }

shot() {  # name; the screenshot's path goes into `png`
    png="$work/$1.png"
    import -window root "$png"
    if [ -n "${E2E_SHOTS:-}" ]; then
        mkdir -p "$E2E_SHOTS"
        cp "$png" "$E2E_SHOTS/e2e-$build_name-$1.png"
    fi
}

# Fractions of the pixels (of the whole picture or of a crop WxH+X+Y) that are:
#   lit    brighter than black (some channel above 15 %)
#   blue   clearly blue (blue above red by more than 30 %), as the blue ball
#   white  light grey to white (every channel above 60 %), as the white ball
#   paper  pure white (every channel above 97 %), as an enabled edit field
#   dark   near black (every channel below 40 %), as text
fraction() {  # png, kind, [crop]
    local crop=()
    [ $# -ge 3 ] && crop=(-crop "$3" +repage)
    case "$2" in
        lit) convert "$1" "${crop[@]}" -separate -evaluate-sequence max -threshold 15% \
                 -format '%[fx:mean]' info: ;;
        blue) convert "$1" "${crop[@]}" -color-matrix '-1 0 1 0 0 0 0 0 0' -channel R -separate \
                  +channel -threshold 30% -format '%[fx:mean]' info: ;;
        white) convert "$1" "${crop[@]}" -separate -evaluate-sequence min -threshold 60% \
                   -format '%[fx:mean]' info: ;;
        dark) convert "$1" "${crop[@]}" -separate -evaluate-sequence max -threshold 40% -negate \
                  -format '%[fx:mean]' info: ;;
        paper) convert "$1" "${crop[@]}" -separate -evaluate-sequence min -threshold 97% \
                   -format '%[fx:mean]' info: ;;
    esac
}

# Number of separate bright blobs in a crop: overlapping balls count as one.
blobs() {  # png, crop
    convert "$1" -crop "$2" +repage -separate -evaluate-sequence max -threshold 15% \
        -define connected-components:verbose=true -connected-components 8 null: |
        grep -c 'gray(255)'
}

# Root mean square difference of two pictures, 0 (same) to 1.
difference() {  # png, png, [crop]
    local crop=()
    [ $# -ge 3 ] && crop=(-crop "$3" +repage)
    compare -metric RMSE <(convert "$1" "${crop[@]}" png:-) <(convert "$2" "${crop[@]}" png:-) \
        null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'
}

above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# What Wine sees (mode, saver windows and processes) and what X sees (screen size and depth).
wine_view() { wine_run "$probe" | tr -d '\r'; }
x_view() {
    printf '%s depth %s' "$(xdotool getdisplaygeometry)" \
        "$(xdpyinfo | sed -n 's/.*depth of root window: *\([0-9]*\).*/\1/p')"
}
desktop_wine="$(wine_view | cut -d' ' -f1) saver-windows=0 saver-processes=0"
desktop_x="$(x_view)"

# After a run: no saver process or window remains, and the display mode is the desktop's again.
nothing_left() {
    local wine_now x_now
    wait_until 10 eval '[ "$(wine_view)" = "$desktop_wine" ]'
    wine_now="$(wine_view)"
    x_now="$(x_view)"
    equal "$wine_now" "$desktop_wine" && equal "$x_now" "$desktop_x" && ! saver_window_shown
}

# Writes a 24-byte settings file: flags clear, info, incz; field of view; balls per line.
write_settings() {  # clear, info, incz, fov, balls, [file]
    perl -e 'print pack("CCC x5 d< l< x4", @ARGV)' "$1" "$2" "$3" "$4" "$5" \
        >"${6:-ZemlarConf.cfg}"
}
hex() { od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

# The settings bytes that write_settings would write, in hex.
settings_hex() {
    write_settings "$@" "$work/expected.cfg"
    hex "$work/expected.cfg"
}

cleanup() {
    local p
    for p in "${background[@]}"; do
        kill "$p" 2>/dev/null
    done
    WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT

finish() {
    cleanup
    trap - EXIT
    log "$group: $((checks - failures)) of $checks checks passed in $(awk -v s="$started_at" \
        -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }') s"
    [ "$failures" -eq 0 ] && rm -rf "$work_root"
    [ "$failures" -eq 0 ]
    exit $?
}

read -r screen_width screen_height _ <<<"$desktop_x"

# Starts the full-screen saver (pointer parked at 300,300 first) and waits for its window and
# its first frame: balls lit in the middle of the screen.
start_saver() {  # program, [switch]
    xdotool mousemove 300 300
    start "$1" "${2:-/s}"
    wait_until 30 saver_window_shown || return 1
    wait_until 30 first_frame
}
first_frame() {
    import -window root "$work/frame.png" 2>/dev/null &&
        above "$(fraction "$work/frame.png" lit "$middle")" 0.0003
}
# The screen without the panel's corner and the logo's band.
middle="${screen_width}x$((screen_height - 230))+0+90"
logo_band="256x128+$((screen_width - 256))+$((screen_height - 128))"
panel_corner="216x72+0+0"
panel_number="70x14+94+33"

# Puts a copy of the saver that Wine presents as Windows 98 into the working directory, beside
# the stand-ins for the password provider (PASSWORD.CPL and MPR.DLL, which take Wine's place),
# and points their log at standin.log there.
win98_setup() {
    cp "$saver" zemlar98.scr
    cp "$standins/PASSWORD.CPL" "$standins/MPR.DLL" .
    if [ -z "${win98_registered:-}" ]; then
        wine_run reg add 'HKCU\Software\Wine\AppDefaults\zemlar98.scr' /v Version /t REG_SZ \
            /d win98 /f >/dev/null
        wine_run reg add 'HKCU\Software\Wine\AppDefaults\zemlar98.scr\DllOverrides' /v mpr \
            /t REG_SZ /d native /f >/dev/null
        win98_registered=1
    fi
    export ZEMLAR_STANDIN_LOG
    ZEMLAR_STANDIN_LOG="$(win_path "$work/standin.log")"
}
