#!/usr/bin/env bash
# Switches outside the grammar, and the password change (/a) on Windows NT and Windows 98.
source "$(dirname "$0")/lib.sh"

for switch in /x '/?' /1; do
    new_workdir "switch-${switch//[^a-z0-9]/q}"
    start "$saver" "$switch"
    wait_status "$pid" 15
    check "$switch: status 255" equal "$status" 255
    check "$switch: nothing is left behind" nothing_left
done

new_workdir password-change-nt
start "$saver" /a
wait_status "$pid" 15
check "/a on Windows NT: status 255" equal "$status" 255
check "/a on Windows NT: nothing is left behind" nothing_left

# A copy of the saver that Wine presents with Windows 98, beside the stand-in password
# provider: MPR.DLL logs PwdChangePasswordA's arguments.
new_workdir password-change-98
win98_setup
start "$host" /a "$(win_path "$work/zemlar98.scr")"
wait_status "$pid" 30
owner="$(tr -d '\r' <"$work/stdout.txt" | sed -n 's/^owner //p')"
check "/a on Windows 98 (owned by the host window $owner): status 0" equal "$status" 0
check "/a on Windows 98 calls the password change with SCRSAVE and the owner" \
    grep -qx "change provider=SCRSAVE owner=$owner flags=0 info=0" "$work/standin.log"
check "/a on Windows 98: nothing is left behind" nothing_left

finish
