#!/usr/bin/env bash
# Rebuilds the executable fixtures with the mingw tools: launcher.exe (the
# resources of launcher.rc, linked with --dynamicbase so a relocation
# section follows the resources, as in the program itself), launcher64.exe
# (the same linked as a 64-bit PE32+ program) and the icon files used by the
# tests. The outputs are committed; run this only to
# change them.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 make_icon.py main.ico 32:32:4:0x11 32:32:8:0x22 16:16:4:0x33
python3 make_icon.py new.ico 48:48:8:0x44 32:32:8:0x55 16:16:8:0x66 24:24:4:0x77
python3 make_icon.py "$work/cursor.ico" 32:32:1:0x00
# A cursor file is an icon file with type 2.
python3 - "$work/cursor.ico" cursor.cur <<'PY'
import sys
b = bytearray(open(sys.argv[1], 'rb').read())
b[2] = 2
open(sys.argv[2], "wb").write(b)
PY
i686-w64-mingw32-windres launcher.rc -O coff -o "$work/res.o"
i686-w64-mingw32-gcc -Os -s -nostdlib -Wl,--entry=_start@0 -Wl,--dynamicbase -Wl,--enable-reloc-section \
  -Wl,--subsystem,windows tiny.c "$work/res.o" -o launcher.exe
# On x86_64 the entry has no underscore and no argument-size suffix.
x86_64-w64-mingw32-windres launcher.rc -O coff -o "$work/res64.o"
x86_64-w64-mingw32-gcc -Os -s -nostdlib -Wl,--entry=start -Wl,--dynamicbase \
  -Wl,--enable-reloc-section -Wl,--subsystem,windows tiny.c "$work/res64.o" -o launcher64.exe
rm -f cursor.cur
