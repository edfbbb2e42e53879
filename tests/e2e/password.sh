#!/usr/bin/env bash
# The Windows 98 password on closing, end to end with the stand-in verifier: a refusal keeps
# the saver on screen, a later acceptance ends it with 0.
source "$(dirname "$0")/lib.sh"

password_flag() {  # 1 on, or "off" to remove the value
    if [ "$1" = off ]; then
        wine_run reg delete 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /f \
            >/dev/null 2>&1
    else
        wine_run reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_DWORD \
            /d "$1" /f >/dev/null
    fi
}
logged() { grep -qx "$1" "$work/standin.log" 2>/dev/null; }
times_logged() { grep -cx "$1" "$work/standin.log" 2>/dev/null; }

new_workdir refuse-then-accept
win98_setup
password_flag 1
# The verifier refuses the first time; a call beyond the script accepts.
export ZEMLAR_VERIFIER_SCRIPT=n
check "the Windows 98 saver starts with the password on" start_saver zemlar98.scr
check "it loaded the verifier" logged 'password load'
xdotool key a
check "a key press asks the verifier" wait_until 10 logged 'verify n'
sleep 1.5
shot password-refused
check "after the refusal the saver stays on screen" \
    eval 'running "$pid" && saver_window_shown &&
          above "$(fraction "$png" lit "$middle")" 0.01'
check "it asked only once" equal "$(times_logged 'verify n')" 1
xdotool key b
wait_status "$pid" 15
check "a later key press is accepted and ends it with 0" equal "$status" 0
check "the verifier accepted the second time" logged 'verify y'
check "the verifier was unloaded" logged 'password unload'
password_flag off
check "nothing is left behind" nothing_left

finish
