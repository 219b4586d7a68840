#!/usr/bin/env python3
"""Writes the hand-made undo logs of the fuzz seed corpus into fuzz/corpus:
edge cases of the format next to the real logs that make-seeds.sh copies."""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))
out = os.path.join(here, '..', '..', 'fuzz', 'corpus')


def rec(kind, flags, param, loc, text=''):
    t = text.encode('utf-8') if isinstance(text, str) else text
    return struct.pack('<HHIIH', kind, flags, param, loc, len(t)) + t + struct.pack('<H', len(t) + 16)


INFO = [rec(0x400E, 1, 1, 0, 'Tessel library'), rec(0x400E, 1, 2, 0, '4.09'),
        rec(0x400E, 1, 4, 0, 'C:\\Tessel'), rec(0x400E, 1, 5, 0, 'Software\\Veltrane\\Tessel library'),
        rec(0x400E, 1, 7, 0, 'qvlLib')]
MARK = rec(0x400E, 1, 6, 0)
BODY = [rec(0x8001, 1, 0, 3), rec(0x8001, 1, 0, 3, 'Source'), rec(0x8010, 3, 29, 1, 'qvTessel.ini'),
        rec(0x8012, 1, 0, 3, 'unqmv.exe'), rec(0x4009, 1, 29, 0, 'RADStudio23'),
        rec(0x0026, 1, 3, 3, '\\Library\\Win32\\Search Path'), rec(0x0015, 1, 0, 3, 'C:\\A;C:\\Lib;C:\\B'),
        rec(0x4009, 1, 29, 0, 'RADStudio23'), rec(0x000F, 3, 0x80000002, 0, 'Software\\Veltrane\\Tessel library')]
SIG = b'UNQMV02'

cases = {
    'edge-empty.log': b'',
    'edge-short.log': b'UNQMV',
    'edge-letter-version.log': b'UNQMV0x' + MARK,
    'edge-version-10.log': b'UNQMV10' + b''.join(INFO) + MARK + b''.join(BODY),
    'edge-foreign.log': b'MZ\x90\x00\x03\x00\x00\x00' + bytes(range(256)),
    'edge-text.log': b'[Setup]\r\nUNQMV02 is not at the start\r\n',
    'edge-no-marker.log': SIG + b''.join(INFO) + b''.join(BODY),
    'edge-info-only.log': SIG + b''.join(INFO) + MARK,
    'edge-truncated-tail.log': (SIG + b''.join(INFO) + MARK + b''.join(BODY))[:-5],
    'edge-truncated-info.log': (SIG + b''.join(INFO))[:40],
    'edge-length-mismatch.log': SIG + b''.join(INFO) + MARK + BODY[0] + BODY[1][:-2] + b'\x99\x00' + b''.join(BODY[2:]),
    'edge-huge-length.log': SIG + MARK + struct.pack('<HHIIH', 0x8001, 1, 0, 3, 0xFFEF) + b'x' * 40 + b'\xff\xff',
    'edge-batch-stops.log': SIG + b''.join(INFO) + MARK + BODY[0] + rec(0x0023, 1, 0xFFFFFFFF, 0, 'help\\help_reg.bat') + BODY[1],
    'edge-utf8-dir.log': SIG + rec(0x400E, 1, 4, 0, 'C:\\Users\\Zoë\\Mes bibliothèques') + MARK + BODY[0],
    'edge-bad-utf8.log': SIG + rec(0x400E, 1, 4, 0, b'C:\\\xff\xfe\xc3') + MARK + rec(0x8001, 1, 0, 3, b'\xed\xa0\x80'),
    'edge-path-lists.log': SIG + MARK + rec(0x0015, 1, 0, 3, ';;C:\\Lib;') + rec(0x0015, 1, 0, 3, 'C:\\Lib;C:\\LIB;c:\\lib'),
    'edge-unknown-kinds.log': SIG + rec(0x400E, 1, 99, 0, 'ignored') + rec(0x1234, 0xFFFF, 7, 7, 'x') + rec(0x400E, 1, 6, 0),
}
for name, data in cases.items():
    with open(os.path.join(out, name), 'wb') as f:
        f.write(data)
print(f'{len(cases)} edge seeds written')
