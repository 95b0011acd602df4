"""Writes a large PNG for the screen checks without holding its pixels (ImageMagick's policy
refuses to make such pictures): its top rows of one colour, the rest noise filtered the
costliest way (Paeth), which takes a decoder seconds.

Usage: large_png.py WIDTH HEIGHT RRGGBB OUT.png   (the top 1200 rows RRGGBB)
"""
import os, struct, sys, zlib

width, height, colour, out = int(sys.argv[1]), int(sys.argv[2]), bytes.fromhex(sys.argv[3]), sys.argv[4]


def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)


packer = zlib.compressobj(1)
noise = os.urandom(width * 3 * 16)
solid = b'\0' + colour * width
parts = []
for y in range(height):
    if y < 1200:
        parts.append(packer.compress(solid))
    else:
        at = (y * 7919) % (len(noise) - width * 3)
        parts.append(packer.compress(b'\4' + noise[at:at + width * 3]))
parts.append(packer.flush())
data = b''.join(parts)
with open(out, 'wb') as f:
    f.write(b'\x89PNG\r\n\x1a\n')
    f.write(chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)))
    for i in range(0, len(data), 1 << 20):
        f.write(chunk(b'IDAT', data[i:i + (1 << 20)]))
    f.write(chunk(b'IEND', b''))
