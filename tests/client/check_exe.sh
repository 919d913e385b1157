#!/usr/bin/env bash
# Checks that the client is a Windows GUI program of the expected format
# (pei-i386 for the shipped client), linked statically: it imports only DLLs
# that every Windows system has.
#   check_exe.sh OBJDUMP EXE FORMAT [console]
# With "console", checks a console program (the server) and not the
# client's resources.
set -euo pipefail
objdump="$1" exe="$2" format="$3" kind="${4:-gui}"
headers="$("$objdump" -p "$exe")"
fail() { echo "FAIL: $*"; exit 1; }
grep -q "file format $format\$" <<<"$headers" || fail "not a $format program"
if [ "$kind" = console ]; then
    grep -Eq '^Subsystem\s+0*3\s' <<<"$headers" || fail "not a console program"
else
    grep -Eq '^Subsystem\s+0*2\s' <<<"$headers" || fail "not a GUI subsystem program"
fi
dlls="$(grep -Po 'DLL Name: \K\S+' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)"
allowed='^(kernel32|user32|gdi32|ws2_32|wsock32|mswsock|msvcrt|advapi32|comctl32|shell32|ole32|api-ms-win-.*)\.dll$'
for dll in $dlls; do
    grep -Eq "$allowed" <<<"$dll" || fail "imports $dll, which is not a system DLL"
done
echo "ok: $format $kind program, imports: $(echo $dlls)"
[ "$kind" = console ] && exit 0

# The resources, read from the resource directory: "type id language size"
# for every leaf. The bitmap sizes pin their dimensions and pixel formats:
# a 40-byte header, the colour table, then rows padded to 4 bytes.
actual="$(awk '
    { gsub(",", "") }
    /^[0-9a-f]+   Entry: ID:/     { type = $4 }
    /^[0-9a-f]+     Entry: ID:/   { id = $4 }
    /^[0-9a-f]+       Entry: ID:/ { lang = $4 }
    /Leaf: Addr:/ { print type, id, lang, $6 }
' <<<"$headers" | while read -r type id lang size; do
    echo "$((16#${type#0x})) $((16#${id#0x})) $((16#${lang#0x})) $((16#${size#0x}))"
done | sort)"
bitmap() { echo "2 $1 1033 $(( 40 + $4 + $3 * (($2 * $5 / 8 + 3) / 4 * 4) ))"; }
expected="$(
    for suit in 1 2 3 4; do bitmap "$suit" 23 23 0 24; done
    for rank in 1 2 3 4 5 6 7 8 9; do for suit in 1 2 3 4; do bitmap "$rank$suit" 71 96 0 24; done; done
    bitmap 1001 71 96 1024 8
    bitmap 1002 96 71 1024 8
    bitmap 1003 350 200 0 24
    echo "3 1 1033 $(( 40 + 64 * 64 * 4 + 64 * 64 / 8 ))"   # 64x64 32-bit icon and its mask
    echo "14 301 1033 20"                                   # one icon group entry
)"
expected="$( (echo "$expected"; grep '^24 1 1033 ' <<<"$actual") | sort)"
[ "$actual" = "$expected" ] || fail "resources differ from what the client needs:
$(diff <(echo "$expected") <(echo "$actual"))"
grep -q '^24 1 1033 ' <<<"$actual" || fail "no application manifest"
echo "ok: $(wc -l <<<"$actual") resources with the expected ids, languages and sizes"
