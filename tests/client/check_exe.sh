#!/usr/bin/env bash
# Checks that the client is a Windows GUI program of the expected format
# (pei-i386 for the shipped client), linked statically: it imports only DLLs
# that every Windows system has.
set -euo pipefail
objdump="$1" exe="$2" format="$3"
headers="$("$objdump" -p "$exe")"
fail() { echo "FAIL: $*"; exit 1; }
grep -q "file format $format\$" <<<"$headers" || fail "not a $format program"
grep -Eq '^Subsystem\s+0*2\s' <<<"$headers" || fail "not a GUI subsystem program"
dlls="$(grep -Po 'DLL Name: \K\S+' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)"
allowed='^(kernel32|user32|gdi32|ws2_32|wsock32|msvcrt|advapi32|comctl32|shell32|ole32|api-ms-win-.*)\.dll$'
for dll in $dlls; do
    grep -Eq "$allowed" <<<"$dll" || fail "imports $dll, which is not a system DLL"
done
echo "ok: $format GUI program, imports: $(echo $dlls)"
