#!/usr/bin/env bash
# Switches outside the grammar, and the password change (/a) on Windows NT and Windows 98.
source "$(dirname "$0")/lib.sh"

for switch in /x '/?' /1 /a; do
    new_workdir "switch-${switch//[^a-z0-9]/q}"
    start "$saver" "$switch"
    wait_status "$pid" 15
    check "$switch (on Windows NT): status 255" equal "$status" 255
    check "$switch: nothing is left behind" nothing_left
done

# The Windows 98 copy, owned by the host window: MPR.DLL's stand-in logs its arguments.
new_workdir password-change-98
win98_setup
start "$bin/preview-host.exe" /a "$(win_path "$work/zemlar98.scr")"
wait_status "$pid" 30
owner="$(tr -d '\r' <stdout.txt | sed -n 's/^owner //p')"
check "/a on Windows 98: status 0" equal "$status" 0
check "/a on Windows 98 calls the password change with SCRSAVE and the owner $owner" \
    grep -qx "change provider=SCRSAVE owner=$owner flags=0 info=0" standin.log
check "/a on Windows 98: nothing is left behind" nothing_left

finish
