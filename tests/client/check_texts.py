#!/usr/bin/env python3
"""Checks that the client carries every text of core/texts.h, in the Windows
code page it shows them in: the web table is generated from that list, so
the two tables say the same only while the client does too.
    check_texts.py EXE TEXTS.H"""
import re
import sys

exe, header = sys.argv[1], sys.argv[2]
binary = open(exe, "rb").read()
source = "\n".join(line for line in open(header, encoding="utf-8") if line.startswith("inline constexpr"))
texts = [re.sub(r"\\n", "\n", text) for text in re.findall(r'"((?:[^"\\]|\\.)*)"', source)]
missing = [text for text in texts if text.encode("cp1252") not in binary]
for text in missing:
    print(f"FAIL: the client does not say {text!r}")
print(f"{len(texts) - len(missing)} of {len(texts)} texts found in {exe}")
sys.exit(1 if missing else 0)
