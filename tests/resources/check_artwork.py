#!/usr/bin/env python3
"""Checks the add-in's bitmaps and icons under resources/.

Usage:
    check_artwork.py RESOURCES_DIR

  - resources/make-artwork.py, run into a temporary folder, writes exactly the committed files,
    byte for byte (so nobody edits a generated file by hand and the script stays the source);
  - every bitmap the add-in has is there with its size and colour depth, and every icon with its
    image sizes, each a 256-colour (8-bit) image with an AND mask;
  - every mask matches its face: white (transparent) exactly where the face shows the button
    grey, black elsewhere, and the face is not all background;
  - in every icon image the AND mask is set exactly where the colour image uses palette index 0,
    which is black; the 16-in-32 icons show nothing outside their centred 16 by 16 square.

Exit status: 0 when everything holds, 1 otherwise (each problem printed on a line).
"""

import filecmp
import os
import struct
import subprocess
import sys
import tempfile

BUTTON_GREY = (0xC0, 0xC0, 0xC0)

BITMAPS = {}
for n in range(101, 107):
    BITMAPS[str(n)] = (16, 16, 8)
    BITMAPS[str(n + 100)] = (16, 16, 1)
BITMAPS["107"] = (16, 16, 24)
BITMAPS["207"] = (16, 16, 24)
for name in ("BTN_DRAFTS", "BTN_INSERT", "BTN_MODEALL", "BTN_MODESEP", "BTN_OPTIONS"):
    BITMAPS[name] = (16, 16, 24)
    BITMAPS[name + "_MASK"] = (16, 16, 24)
BITMAPS["LOGO"] = (150, 125, 24)
BITMAPS["LOGO_ABOUT"] = (95, 310, 24)

FACES = {str(n): str(n + 100) for n in range(101, 108)}
FACES.update({name: name + "_MASK" for name in
              ("BTN_DRAFTS", "BTN_INSERT", "BTN_MODEALL", "BTN_MODESEP", "BTN_OPTIONS")})

ICONS = {"MAIN_ICON": {16, 32}, "MAIN_ICON_": {16, 32}}
for name in ("ICO_E_TO", "ICO_E_CC", "ICO_E_BCC", "ICO_E_NEWDL", "ICO_E_DL", "ICO_E_OPTIONS"):
    ICONS[name] = {16, 32}
for name in ("OPTIONS", "DRAFTS", "MODEALL", "MODESEP", "INSERT"):
    ICONS["ICO_" + name + "32"] = {32}
    ICONS["ICO_" + name] = {16}
CENTRED = ("ICO_TO_16X16IN32X32", "ICO_CC_16X16IN32X32", "ICO_BCC_16X16IN32X32",
           "ICO_NEW_DL_16X16IN32X32", "ICO_EXISTING_DL_16X16IN32X32", "ICO_ABOUT_16X16IN32X32")
for name in CENTRED:
    ICONS[name] = {32}

problems = []


def problem(where, text):
    problems.append(f"{where}: {text}")


def read_dib(data, offset, bits_offset=None, icon=False):
    """A DIB at offset: (width, height, bit count, palette, rows of pixel values top row first,
    offset after the colour bits). Palette entries are (r, g, b); 24-bit pixels are (r, g, b).
    An icon image's header counts its AND mask in the height: only half of it are colours."""
    (size, width, height, planes, bits, compression, _, _, _, used, _) = struct.unpack_from(
        "<IiiHHIIiiII", data, offset)
    if size != 40 or planes != 1 or compression != 0:
        raise ValueError(f"unexpected header (size {size}, planes {planes}, compression "
                         f"{compression})")
    colours = used if used else (1 << bits if bits <= 8 else 0)
    pal_at = offset + size
    palette = [(data[i + 2], data[i + 1], data[i]) for i in range(pal_at, pal_at + 4 * colours, 4)]
    at = bits_offset if bits_offset is not None else pal_at + 4 * colours
    stride = (width * bits + 31) // 32 * 4
    rows = []
    for r in range(abs(height) // 2 if icon else abs(height)):
        row = data[at + r * stride: at + (r + 1) * stride]
        if len(row) < stride:
            raise ValueError("truncated colour bits")
        if bits == 24:
            rows.append([(row[3 * x + 2], row[3 * x + 1], row[3 * x]) for x in range(width)])
        elif bits == 8:
            rows.append([row[x] for x in range(width)])
        elif bits == 1:
            rows.append([(row[x // 8] >> (7 - x % 8)) & 1 for x in range(width)])
        else:
            raise ValueError(f"unexpected depth {bits}")
    if height > 0:
        rows.reverse()
    return width, height, bits, palette, rows, at + len(rows) * stride


def colour_rows(palette, rows, bits):
    return rows if bits == 24 else [[palette[v] for v in row] for row in rows]


def check_bitmaps(folder):
    faces = {}
    for name, (w, h, depth) in sorted(BITMAPS.items()):
        path = os.path.join(folder, "bitmaps", name + ".bmp")
        where = "bitmaps/" + name + ".bmp"
        try:
            with open(path, "rb") as f:
                data = f.read()
            magic, size, _, _, off = struct.unpack_from("<2sIHHI", data, 0)
            if magic != b"BM" or size != len(data):
                problem(where, "not a bitmap file, or its size field is wrong")
                continue
            width, height, bits, palette, rows, end = read_dib(data, 14, off)
        except (OSError, ValueError, struct.error) as e:
            problem(where, str(e))
            continue
        if end != len(data):
            problem(where, f"{len(data) - end} bytes after the colour bits")
        if (width, height, bits) != (w, h, depth):
            problem(where, f"is {width}x{height}x{bits}, should be {w}x{h}x{depth}")
        faces[name] = colour_rows(palette, rows, bits)
    for face, mask in FACES.items():
        if face not in faces or mask not in faces:
            continue
        opaque = 0
        for y, (frow, mrow) in enumerate(zip(faces[face], faces[mask])):
            for x, (fc, mc) in enumerate(zip(frow, mrow)):
                want = (0xFF, 0xFF, 0xFF) if fc == BUTTON_GREY else (0, 0, 0)
                opaque += fc != BUTTON_GREY
                if mc != want:
                    problem(f"bitmaps/{mask}.bmp", f"pixel {x},{y} is {mc}, the face says {want}")
        if opaque == 0:
            problem(f"bitmaps/{face}.bmp", "shows nothing but background")


def check_icons(folder):
    for name, sizes in sorted(ICONS.items()):
        where = "icons/" + name + ".ico"
        try:
            with open(os.path.join(folder, "icons", name + ".ico"), "rb") as f:
                data = f.read()
            reserved, kind, count = struct.unpack_from("<HHH", data, 0)
            if reserved != 0 or kind != 1:
                problem(where, "not an icon file")
                continue
            found = set()
            for i in range(count):
                w, h, colours, _, planes, bits, length, offset = struct.unpack_from(
                    "<BBBBHHII", data, 6 + 16 * i)
                w, h = w or 256, h or 256
                width, height, dib_bits, palette, colour, end = read_dib(data, offset, icon=True)
                if (planes, bits, colours, dib_bits) != (1, 8, 0, 8):
                    problem(where, f"image {i}: not a 256-colour image")
                if (width, height) != (w, 2 * h) or w != h:
                    problem(where, f"image {i}: header {width}x{height}, directory {w}x{h}")
                if len(palette) != 256 or palette[0] != (0, 0, 0):
                    problem(where, f"image {i}: palette must have 256 entries, black first")
                and_rows = read_and_mask(data, end, w, h)
                if end + len(and_rows) * ((w + 31) // 32 * 4) != offset + length:
                    problem(where, f"image {i}: its length does not match its content")
                for y in range(h):
                    for x in range(w):
                        if and_rows[y][x] != (colour[y][x] == 0):
                            problem(where, f"image {i}: pixel {x},{y}: mask and colour disagree")
                if all(all(row) for row in and_rows):
                    problem(where, f"image {i}: shows nothing")
                if name in CENTRED:
                    for y in range(h):
                        for x in range(w):
                            if not (8 <= x < 24 and 8 <= y < 24) and not and_rows[y][x]:
                                problem(where, f"pixel {x},{y} lies outside the centred square")
                found.add(w)
            if found != sizes or count != len(sizes):
                problem(where, f"has sizes {sorted(found)}, should have {sorted(sizes)}")
        except (OSError, ValueError, struct.error) as e:
            problem(where, str(e))


def read_and_mask(data, at, w, h):
    stride = (w + 31) // 32 * 4
    rows = []
    for r in range(h):
        row = data[at + r * stride: at + (r + 1) * stride]
        if len(row) < stride:
            raise ValueError("truncated AND mask")
        rows.append([(row[x // 8] >> (7 - x % 8)) & 1 == 1 for x in range(w)])
    rows.reverse()
    return rows


def check_generated(folder):
    script = os.path.join(folder, "make-artwork.py")
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run([sys.executable, script, "--out", out], capture_output=True,
                             text=True)
        if run.returncode != 0:
            problem("make-artwork.py", "failed: " + run.stderr.strip())
            return
        for sub in ("bitmaps", "icons"):
            made = sorted(os.listdir(os.path.join(out, sub)))
            committed = sorted(os.listdir(os.path.join(folder, sub)))
            for extra in sorted(set(committed) - set(made)):
                problem(f"{sub}/{extra}", "is not written by make-artwork.py")
            for missing in sorted(set(made) - set(committed)):
                problem(f"{sub}/{missing}", "is missing: run resources/make-artwork.py")
            for name in sorted(set(made) & set(committed)):
                if not filecmp.cmp(os.path.join(out, sub, name),
                                   os.path.join(folder, sub, name), shallow=False):
                    problem(f"{sub}/{name}", "differs from what make-artwork.py writes")


def main(argv):
    folder = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..",
                                                        "resources")
    check_generated(folder)
    check_bitmaps(folder)
    check_icons(folder)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
