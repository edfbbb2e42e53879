#!/usr/bin/env bash
# Switches outside the grammar, the password change (/a) on Windows NT, and previews without a
# window.
source "$(dirname "$0")/lib.sh"

# The preview's handles here name no window: 0, none, and a number that is no window.
for switches in /x '/?' /1 /a '/p 0' /p '/p 99999999'; do
    new_workdir "switch-${switches//[^a-z0-9]/q}"
    start "$saver" $switches
    wait_status "$pid" 15
    check "$switches (on Windows NT): status 255" equal "$status" 255
    check "$switches: nothing is left behind" nothing_left
done

finish
