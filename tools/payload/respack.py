"""Small helpers that write the compiled resource files (.res, .dcr) of the
Tessel library: 16-colour bitmaps and icons drawn from text pictures, and
version information, compiled by the MinGW resource compiler into the
32-bit .res format that the IDEs read.

Python 3 standard library only; needs i686-w64-mingw32-windres on PATH.
"""
import os
import shutil
import struct
import subprocess
import tempfile

WINDRES = os.environ.get("WINDRES", "i686-w64-mingw32-windres")

PRODUCT = "Tessel library"
COMPANY = "Veltrane"
VERSION = (4, 9, 0, 0)
VERSION_TEXT = "4.09"
COPYRIGHT = "Copyright (c) 1998-2024 Veltrane"

# The standard 16-colour palette (B, G, R order is applied when writing).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# One character per pixel in the text pictures.
PIXEL = {".": 13, "k": 0, "r": 1, "g": 2, "o": 3, "n": 4, "p": 5, "t": 6,
         "s": 7, "d": 8, "R": 9, "G": 10, "Y": 11, "B": 12, "C": 14, "w": 15}


def _pixels(picture, size):
    rows = [line.ljust(size, ".")[:size] for line in picture]
    rows += ["." * size] * (size - len(rows))
    return [[PIXEL.get(ch, 13) for ch in row] for row in rows[:size]]


def _dib_4bit(pix, height_factor=1, mask=None):
    """BITMAPINFOHEADER + palette + 4-bit bottom-up pixels (+ optional mask)."""
    h = len(pix)
    w = len(pix[0])
    stride = ((w * 4 + 31) // 32) * 4
    body = bytearray()
    for row in reversed(pix):
        line = bytearray()
        for x in range(0, w, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < w else 0
            line.append((hi << 4) | lo)
        line += b"\0" * (stride - len(line))
        body += line
    if mask is not None:
        mstride = ((w + 31) // 32) * 4
        for row in reversed(mask):
            line = bytearray(mstride)
            for x, transparent in enumerate(row):
                if transparent:
                    line[x // 8] |= 0x80 >> (x % 8)
            body += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h * height_factor, 1, 4, 0,
                         len(body), 0, 0, 16, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    return header + pal + bytes(body)


def write_bmp(path, picture, size=24):
    """A .bmp file; the lower-left pixel colour is the transparent colour
    that the component palette uses."""
    dib = _dib_4bit(_pixels(picture, size))
    offset = 14 + 40 + 64
    with open(path, "wb") as fh:
        fh.write(b"BM" + struct.pack("<IHHI", 14 + len(dib), 0, 0, offset))
        fh.write(dib)


def write_ico(path, picture, size=32):
    """A one-image 16-colour .ico; '.' pixels are transparent."""
    pix = _pixels(picture, size)
    mask = [[1 if c == 13 else 0 for c in row] for row in pix]
    pix = [[0 if c == 13 else c for c in row] for row in pix]
    dib = _dib_4bit(pix, 2, mask)
    with open(path, "wb") as fh:
        fh.write(struct.pack("<HHH", 0, 1, 1))
        fh.write(struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(dib), 22))
        fh.write(dib)


def _rc_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '""') + '"'


def version_block(description, internal_name, original_name, file_type=2):
    """VERSIONINFO statement; file_type 1 = application, 2 = library."""
    v = ",".join(str(n) for n in VERSION)
    values = [
        ("CompanyName", COMPANY),
        ("FileDescription", description),
        ("FileVersion", VERSION_TEXT),
        ("InternalName", internal_name),
        ("LegalCopyright", COPYRIGHT),
        ("OriginalFilename", original_name),
        ("ProductName", PRODUCT),
        ("ProductVersion", VERSION_TEXT),
    ]
    lines = [
        "1 VERSIONINFO",
        f"FILEVERSION {v}",
        f"PRODUCTVERSION {v}",
        "FILEFLAGSMASK 0x3F",
        "FILEFLAGS 0x0",
        "FILEOS 0x4",
        f"FILETYPE 0x{file_type:X}",
        "FILESUBTYPE 0x0",
        "BEGIN",
        '  BLOCK "StringFileInfo"',
        "  BEGIN",
        '    BLOCK "040904E4"',
        "    BEGIN",
    ]
    for key, val in values:
        lines.append(f'      VALUE "{key}", {_rc_string(val)[:-1]}\\0"')
    lines += [
        "    END",
        "  END",
        '  BLOCK "VarFileInfo"',
        "  BEGIN",
        '    VALUE "Translation", 0x409, 1252',
        "  END",
        "END",
    ]
    return "\n".join(lines) + "\n"


def compile_res(out_path, rc_text, bitmaps=None, icons=None, files=None):
    """Compile rc_text into out_path. bitmaps / icons: {file name: picture}
    written beside the script first; files: {file name: bytes}."""
    tmp = tempfile.mkdtemp(prefix="qvres")
    try:
        for name, pic in (bitmaps or {}).items():
            write_bmp(os.path.join(tmp, name), pic)
        for name, pic in (icons or {}).items():
            write_ico(os.path.join(tmp, name), pic)
        for name, data in (files or {}).items():
            with open(os.path.join(tmp, name), "wb") as fh:
                fh.write(data)
        rc = os.path.join(tmp, "res.rc")
        with open(rc, "w", encoding="latin-1", newline="\r\n") as fh:
            fh.write("LANGUAGE 0x09, 0x01\n")
            fh.write(rc_text)
        os.makedirs(os.path.dirname(os.path.abspath(out_path)), exist_ok=True)
        subprocess.run([WINDRES, "-I", tmp, rc, "-O", "res", "-o", out_path],
                       check=True, cwd=tmp)
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


# The product's little "stacked pages" emblem, used by icons and the about box.
EMBLEM_32 = [
    "................................",
    "................................",
    "....nnnnnnnnnnnnnnnnnnnn........",
    "....nBBBBBBBBBBBBBBBBBBn........",
    "....nBwwwwwwwwwwwwwwwwBn........",
    "....nBwwwwwwwwwwwwwwwwBnnnn.....",
    "....nBwwkkkkkkkkkkwwwwBntCn.....",
    "....nBwwwwwwwwwwwwwwwwBntCn.....",
    "....nBwwkkkkkkkkwwwwwwBntCnnn...",
    "....nBwwwwwwwwwwwwwwwwBntCngn...",
    "....nBwwkkkkkkkkkkkkwwBntCngn...",
    "....nBwwwwwwwwwwwwwwwwBntCngn...",
    "....nBwwkkkkkwwwwwwwwwBntCngn...",
    "....nBwwwwwwwwwwwwwwwwBntCngn...",
    "....nBwwwwwwwwwwwYYwwwBntCngn...",
    "....nBwwwwwwwwwwYoYwwwBntCngn...",
    "....nBwwwwwwwwwYoYwwwwBntCngn...",
    "....nBwwwwwwwwYoYwwwwwBntCngn...",
    "....nBwwwYwwwYoYwwwwwwBntCngn...",
    "....nBwwwYYwYoYwwwwwwwBntCngn...",
    "....nBwwwwYYoYwwwwwwwwBntCngn...",
    "....nBwwwwwYYwwwwwwwwwBntCngn...",
    "....nBwwwwwwwwwwwwwwwwBntCngn...",
    "....nBBBBBBBBBBBBBBBBBBntCngn...",
    "....nnnnnnnnnnnnnnnnnnnntCngn...",
    ".......ntttttttttttttttttCngn...",
    ".......nCCCCCCCCCCCCCCCCCCngn...",
    ".......nnnnnnnnnnnnnnnnnnnngn...",
    "..........ngggggggggggggggggn...",
    "..........nnnnnnnnnnnnnnnnnnn...",
    "................................",
    "................................",
]
