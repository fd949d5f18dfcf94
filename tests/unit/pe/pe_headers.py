#!/usr/bin/python3
"""Lists the headers of an executable as pefile reads them, for the tests
to compare against a reader independent of ours:
  magic HEX
  image_base HEX
  size_of_image N
  checksum STORED COMPUTED
  directory resource RVA SIZE
  section NAME VIRTUAL_ADDRESS VIRTUAL_SIZE RAW_OFFSET RAW_SIZE
Exits 2 when pefile is not installed, 1 when the file does not parse."""
import sys

try:
    import pefile
except ImportError:
    sys.exit(2)

try:
    pe = pefile.PE(sys.argv[1], fast_load=True)
except pefile.PEFormatError as e:
    print(e)
    sys.exit(1)

opt = pe.OPTIONAL_HEADER
print('magic %#x' % opt.Magic)
print('image_base %#x' % opt.ImageBase)
print('size_of_image %d' % opt.SizeOfImage)
print('checksum %d %d' % (opt.CheckSum, pe.generate_checksum()))
res = opt.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY['IMAGE_DIRECTORY_ENTRY_RESOURCE']]
print('directory resource %d %d' % (res.VirtualAddress, res.Size))
for s in pe.sections:
    print('section %s %d %d %d %d' % (s.Name.rstrip(b'\0').decode('latin-1'), s.VirtualAddress,
                                      s.Misc_VirtualSize, s.PointerToRawData, s.SizeOfRawData))
