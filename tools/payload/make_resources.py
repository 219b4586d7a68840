#!/usr/bin/env python3
"""Writes the compiled resources of the Tessel library sources and demos:

  payload/Source/qvReg.dcr       component palette bitmaps (24x24, one per class)
  payload/Source/qvTessel.res    glyphs of the settings dialog, version info
  payload/Source/qvAboutBox.res  the about box logo
  payload/Demos/*/*/<Project>.res  main icon and version info of each demo

Run:  python3 tools/payload/make_resources.py   (needs windres on PATH)
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import respack  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PAYLOAD = os.path.join(ROOT, "payload")

# 5x7 letters for the palette bitmaps.
FONT = {
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
}

# Component class -> (letter, body colour) in the palette letters of respack.
COMPONENTS = [
    ("TQVINISTORAGE", "I", "Y"),
    ("TQVREGSTORAGE", "R", "C"),
    ("TQVXMLSTORAGE", "X", "G"),
    ("TQVENVSTORAGE", "E", "s"),
    ("TQVMEMORYSTORAGE", "M", "w"),
    ("TQVJSONSTORAGE", "J", "G"),
    ("TQVDBSTORAGE", "D", "C"),
    ("TQVFORMPLACEMENT", "F", "B"),
    ("TQVPROPSTORAGE", "P", "R"),
    ("TQVSTRHOLDER", "S", "Y"),
    ("TQVCOLLECTIONSTORAGE", "C", "s"),
    ("TQVSETTINGSDIALOG", "T", "w"),
    ("TQVAPPEVENTS", "A", "R"),
    ("TQVACTIONSTORAGE", "L", "C"),
]


def canvas(w, h, fill="."):
    return [[fill] * w for _ in range(h)]


def rect(c, x0, y0, x1, y1, ch, outline=None):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = outline and (x in (x0, x1) or y in (y0, y1))
            c[y][x] = outline if edge else ch


def letter(c, x0, y0, ch, colour):
    for dy, row in enumerate(FONT[ch]):
        for dx, bit in enumerate(row):
            if bit == "#":
                c[y0 + dy][x0 + dx] = colour


def text(c):
    return ["".join(row) for row in c]


def palette_bitmap(ch, colour):
    """A drum-shaped 'storage' with the component's letter on it; the lower
    left pixel stays the transparent colour."""
    c = canvas(24, 24)
    rect(c, 3, 4, 20, 20, colour, "k")
    for x in range(4, 20):
        c[6][x] = "d"
        c[18][x] = "d"
    for y in range(5, 20):
        c[y][4] = "w" if colour != "w" else "s"
    letter(c, 12 - len(FONT[ch][0]) // 2, 9, ch, "k")
    return text(c)


def glyph_restore():
    c = canvas(16, 16)
    rect(c, 2, 3, 13, 13, "w", "k")
    for x in range(4, 12):
        c[6][x] = "n"
        c[9][x] = "n"
    for i in range(4):
        c[1 + i][8 - i] = "g"
        c[1 + i][8 + i] = "g"
    return text(c)


def glyph_save():
    c = canvas(16, 16)
    rect(c, 1, 1, 14, 14, "n", "k")
    rect(c, 4, 2, 11, 6, "s", "k")
    rect(c, 3, 9, 12, 14, "w", "k")
    c[3][9] = "k"
    c[4][9] = "k"
    return text(c)


def logo_64():
    """The emblem scaled to 64x64."""
    rows = []
    for line in respack.EMBLEM_32:
        wide = "".join(ch * 2 for ch in line)
        rows += [wide, wide]
    return rows


def write_source_resources():
    src = os.path.join(PAYLOAD, "Source")
    bitmaps = {}
    rc = []
    for name, ch, colour in COMPONENTS:
        fname = name.lower() + ".bmp"
        bitmaps[fname] = palette_bitmap(ch, colour)
        rc.append(f'{name} BITMAP "{fname}"')
    respack.compile_res(os.path.join(src, "qvReg.dcr"), "\n".join(rc) + "\n", bitmaps=bitmaps)

    rc = ['QVRESTORE BITMAP "restore.bmp"', 'QVSAVE BITMAP "save.bmp"', ""]
    rc.append(respack.version_block("Tessel library resources", "qvTessel", "qvTessel.res"))
    respack.compile_res(os.path.join(src, "qvTessel.res"), "\n".join(rc),
                        bitmaps={"restore.bmp": glyph_restore(), "save.bmp": glyph_save()})

    rc = ['QVABOUTLOGO BITMAP "logo.bmp"', 'QVABOUTICON ICON "logo.ico"', ""]
    rc.append(respack.version_block("Tessel library about box", "qvAboutBox", "qvAboutBox.res"))
    # The 64x64 logo is wider than write_bmp's default size.
    import tempfile
    tmp = tempfile.mkdtemp(prefix="qvlogo")
    try:
        logo_path = os.path.join(tmp, "logo.bmp")
        respack.write_bmp(logo_path, logo_64(), size=64)
        with open(logo_path, "rb") as fh:
            logo = fh.read()
    finally:
        import shutil
        shutil.rmtree(tmp, ignore_errors=True)
    respack.compile_res(os.path.join(src, "qvAboutBox.res"), "\n".join(rc),
                        icons={"logo.ico": respack.EMBLEM_32}, files={"logo.bmp": logo})


def demo_projects():
    """(folder below payload, project name, description) of every demo .res."""
    out = []
    for kind in ("Delphi", "CBuilder"):
        base = os.path.join(PAYLOAD, "Demos", kind)
        if not os.path.isdir(base):
            continue
        for demo in sorted(os.listdir(base)):
            if os.path.isfile(os.path.join(base, demo, demo + ".res")):
                out.append((os.path.join(base, demo), demo, kind))
    return out


def write_demo_resources():
    for folder, demo, kind in demo_projects():
        title = f"Tessel library demo: {demo}"
        rc = 'MAINICON ICON "main.ico"\n' + respack.version_block(title, demo, demo + ".exe", file_type=1)
        respack.compile_res(os.path.join(folder, demo + ".res"), rc,
                            icons={"main.ico": respack.EMBLEM_32})


def main():
    write_source_resources()
    write_demo_resources()
    print("make_resources: wrote the library and demo resources")


if __name__ == "__main__":
    main()
