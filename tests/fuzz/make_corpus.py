#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets (run from this folder).

archive/: small asset archives with every chunk kind, and damaged ones.
wave/:    the sox WAVE fixtures of tests/data and a few hand-made variants.
"""
import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, '..', 'data')


def chunk(tag, data):
    # Identifiers are stored as their characters in reverse order.
    out = tag[::-1].encode() + struct.pack('<I', len(data)) + data
    return out + (b'\0' if len(data) & 1 else b'')


def tga(width, height, rle, depth=32, top=True):
    bpp = depth // 8
    header = struct.pack('<BBBHHBhhHHBB', 0, 0, 10 if rle else 2, 0, 0, 0, -width // 2, -height // 2,
                         width, height, depth, 0x20 if top else 0)
    pixel = bytes([0x10, 0x20, 0x30, 0x80][:bpp])
    if rle:
        body = b''
        left = width * height
        while left > 0:
            n = min(left, 128)
            body += bytes([0x80 | (n - 1)]) + pixel
            left -= n
        body += bytes([0x01]) + pixel * 2  # one packet more than needed
    else:
        body = pixel * (width * height)
    return header + body


def archive(runs):
    count = len(runs)
    map_size = 4 + 4 * count
    position = 12 + 8 + map_size
    table = []
    body = b''
    for run in runs:
        table.append(position + len(body))
        body += b''.join(run)
    map_chunk = chunk('map ', struct.pack('<i', count) + b''.join(struct.pack('<i', p) for p in table))
    inner = b'LFMM' + map_chunk + body
    return b'FFIR' + struct.pack('<I', len(inner)) + inner


def write(folder, name, data):
    os.makedirs(os.path.join(HERE, 'corpus', folder), exist_ok=True)
    with open(os.path.join(HERE, 'corpus', folder, name), 'wb') as f:
        f.write(data)


wave = open(os.path.join(DATA, 'wave_u8_mono.wav'), 'rb').read()
midi = b'MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\0\0'
anim = chunk('anim', struct.pack('<i', 2) + chunk('rgba', tga(3, 2, True)) + chunk('rgba', tga(2, 2, False, 24, False)))
full = archive([[chunk('rgba', tga(2, 2, False, 24))], [anim], [chunk('wave', wave)], [chunk('midi', midi)],
                [chunk('rgba', tga(40, 40, True)), chunk('wave', wave)]])
write('archive', 'every_kind.mm', full)
write('archive', 'empty_map.mm', archive([]))
write('archive', 'truncated.mm', full[:len(full) * 2 // 3])
write('archive', 'big_rle.mm', archive([[chunk('rgba', tga(200, 100, True))]]))
write('archive', 'unsupported_tga.mm', archive([[chunk('rgba', b'\0\0\1' + b'\0' * 40)]]))

for name in sorted(os.listdir(DATA)):
    if name.startswith('wave_') and name.endswith('.wav'):
        shutil.copy(os.path.join(DATA, name), os.path.join(HERE, 'corpus', 'wave', name))
pcm = struct.pack('<HHIIHH', 1, 1, 8000, 8000, 1, 8)
riff = lambda chunks: b'RIFF' + struct.pack('<I', 4 + len(chunks)) + b'WAVE' + chunks
plain = lambda tag, data: tag.encode() + struct.pack('<I', len(data)) + data + (b'\0' if len(data) & 1 else b'')
write('wave', 'short_fmt.wav', riff(plain('fmt ', pcm[:12]) + plain('data', b'\x80' * 4)))
write('wave', 'odd_chunks.wav', riff(plain('fmt ', pcm) + plain('LIST', b'abc') + plain('data', b'\x01\x02\x03')))

# loaders/: archives for the real loaders (sprite arrays, fonts, sounds with
# their conversion, music), including counts and rates they must refuse.
tune = open(os.path.join(DATA, 'audio_tune.mid'), 'rb').read()
wave16 = open(os.path.join(DATA, 'wave_s16_stereo.wav'), 'rb').read()
glyphs = chunk('anim', struct.pack('<i', 3) + b''.join(chunk('rgba', tga(w, 6, True)) for w in (3, 5, 4)))
write('loaders', 'all_kinds.mm', archive([[anim], [glyphs], [chunk('wave', wave)], [chunk('wave', wave16)],
                                          [chunk('midi', tune)], [chunk('midi', midi)]]))
slow = bytearray(wave)
slow[24:28] = struct.pack('<I', 1)
fast = bytearray(wave16)
fast[24:28] = struct.pack('<I', 44100)
write('loaders', 'rates.mm', archive([[chunk('wave', bytes(slow))], [chunk('wave', bytes(fast))]]))
write('loaders', 'huge_counts.mm', archive([[chunk('anim', struct.pack('<i', 0x08000000))],
                                            [chunk('anim', struct.pack('<i', -1))]]))
write('loaders', 'cut_tune.mm', archive([[chunk('midi', tune[:len(tune) // 2])]]))
