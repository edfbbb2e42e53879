#!/usr/bin/env bash
# The saver's exception guard around a deliberate fault (guard-probe.exe), as on Windows 95/98
# with the password on: a fault or an escaping C++ exception ends the process with -1 and the
# platform's screen-saver-running state off; a clean run keeps its own result and the state.
#   Usage: guard.sh <guard-probe.exe>        (WINEPREFIX from the environment)
set -uo pipefail
wine_run() { "$(dirname "$0")/../../tools/wine-run" "$@"; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export ZEMLAR_STANDIN_LOG="Z:${work//\//\\}\\standin.log"

# A crash must reach the guard as EXCEPTION_EXECUTE_HANDLER: no debugger may attach, so the one
# named here does not exist.
for view in 64 32; do
    wine_run reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
        /d 'zemlar-no-debugger.exe %ld %ld' /f "/reg:$view" >/dev/null || exit 1
done
wine_run reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f \
    >/dev/null || exit 1
failed=0
for run in 'fault 255 running=0' 'throw 255 running=0' 'clean 3 running=1'; do
    read -r mode code state <<<"$run"
    rm -f "$work/standin.log"
    wine_run "$1" "$mode" >/dev/null 2>&1
    status=$?
    log="$(tr -d '\r' <"$work/standin.log" 2>/dev/null | tr '\n' ';')"
    expected="password load;probe running=1;$([ "$mode" = clean ] && echo 'probe returned;')"
    if [ "$status" = "$code" ] && [ "$log" = "${expected}password unload at exit $state;" ]; then
        echo "ok    $mode: status $status, $state"
    else
        echo "FAIL  $mode: status $status (expected $code), log '$log'"
        failed=1
    fi
done
wine_run reg delete 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /f >/dev/null 2>&1
exit "$failed"
