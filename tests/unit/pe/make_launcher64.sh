#!/usr/bin/env bash
# Rebuilds launcher64.exe: the launcher fixture of tests/data/pe (the same
# tiny.c and launcher.rc) linked as a 64-bit (PE32+) program by the x86_64
# mingw tools, so that the tests have a linker-made 64-bit image beside the
# 32-bit one. The output is committed; run this only to change it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
data="$here/../../data/pe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$data/make_icon.py" "$work/cursor.ico" 32:32:1:0x00
# A cursor file is an icon file with type 2.
python3 - "$work/cursor.ico" "$work/cursor.cur" <<'PY'
import sys
b = bytearray(open(sys.argv[1], 'rb').read())
b[2] = 2
open(sys.argv[2], "wb").write(b)
PY
x86_64-w64-mingw32-windres -I "$data" -I "$work" "$data/launcher.rc" -O coff -o "$work/res.o"
# On x86_64 the entry has no underscore and no argument-size suffix.
x86_64-w64-mingw32-gcc -Os -s -nostdlib -Wl,--entry=start -Wl,--dynamicbase \
  -Wl,--enable-reloc-section -Wl,--subsystem,windows "$data/tiny.c" "$work/res.o" \
  -o "$here/launcher64.exe"
