#!/usr/bin/env bash
# The saver's resources: exactly the ten entries, every one in French (1036), the bitmaps byte
# for byte the committed pictures (less their 14-byte file header), and the version numbers.
#   Usage: resources.sh <zemlar.scr> <folder of the committed pictures>
set -uo pipefail
command -v wrestool >/dev/null || { echo "FAIL  wrestool is missing (package icoutils)"; exit 1; }
scr="$1" res="$2" failed=0
fail() { echo "FAIL  $*"; failed=1; }

listing="$(wrestool -l "$scr" | sed 's/ *\[.*//' | sort)"
expected="$(printf -- '--type=%s --language=1036\n' 2\ --name=104 2\ --name=108 2\ --name=112 \
    2\ --name=115 2\ --name=116 3\ --name=1 3\ --name=2 14\ --name=101 5\ --name=110 \
    16\ --name=1 | sort)"
[ "$listing" = "$expected" ] || fail "resource directory:"$'\n'"$listing"$'\n'"expected:"$'\n'"$expected"

for picture in 104:ball_blue 108:ball_white 112:dialog_picture 115:logo 116:panel; do
    cmp -s <(wrestool -x --raw --type=2 --name="${picture%%:*}" "$scr") \
        <(tail -c +15 "$res/${picture#*:}.bmp") || fail "bitmap ${picture%%:*} is not ${picture#*:}.bmp"
done

# FileVersion and ProductVersion "1, 0, 0, 1", as UTF-16 text in the version block.
versions="$(wrestool -x --raw --type=16 "$scr" | tr -d '\0' | grep -a -o '1, 0, 0, 1' | wc -l)"
[ "$versions" -eq 2 ] || fail "version strings: $versions of 2"
[ "$failed" -eq 0 ] && echo "ok    resources of $(basename "$scr")"
exit "$failed"
