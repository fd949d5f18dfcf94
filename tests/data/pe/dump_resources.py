#!/usr/bin/python3
"""Lists the resources and version strings of an executable with pefile,
a reader independent of ours, for the tests to compare against:
  resource TYPE NAME LANGUAGE SIZE CRC32
  string KEY=VALUE
  section NAME
Exits 2 when pefile is not installed, 1 when the file does not parse."""
import sys
import zlib

try:
    import pefile
except ImportError:
    sys.exit(2)

try:
    pe = pefile.PE(sys.argv[1])
except pefile.PEFormatError as e:
    print(e)
    sys.exit(1)

for s in pe.sections:
    print('section', s.Name.rstrip(b'\0').decode('latin-1'))


def name(entry):
    return str(entry.name) if entry.name is not None else str(entry.id)


if hasattr(pe, 'DIRECTORY_ENTRY_RESOURCE'):
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for n in t.directory.entries:
            for lang in n.directory.entries:
                d = lang.data.struct
                data = pe.get_data(d.OffsetToData, d.Size)
                print('resource', name(t), name(n), lang.id, d.Size, zlib.crc32(data))

for info in getattr(pe, 'FileInfo', []):
    for block in info:
        for table in getattr(block, 'StringTable', []):
            for k, v in table.entries.items():
                print('string %s=%s' % (k.decode('latin-1'), v.decode('latin-1')))
