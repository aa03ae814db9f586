#!/usr/bin/env python3
"""Draws Plexa's button faces, masks, logos and icons and writes them as Windows BMP and ICO files.

Usage:
    make-artwork.py [--out DIR]     writes DIR/bitmaps/*.bmp and DIR/icons/*.ico
                                    (DIR defaults to the folder this script lies in)

The pictures are drawn from a little geometry (rectangles, lines, discs) and two pixel fonts, so
the output is the same byte for byte on every run; the build compiles the files into the add-in
as its bitmap and icon resources. Standard library only.

What is written:
  bitmaps/101.bmp .. 106.bmp   16x16, 8 bits with a palette: folder-window button faces
  bitmaps/107.bmp              16x16, 24 bits: the About face
  bitmaps/201.bmp .. 206.bmp   16x16, 1 bit: masks of 101 .. 106
  bitmaps/207.bmp              16x16, 24 bits: mask of 107
  bitmaps/BTN_*.bmp            16x16, 24 bits: message-window faces, and their BTN_*_MASK.bmp
  bitmaps/LOGO.bmp             150x125, 24 bits
  bitmaps/LOGO_ABOUT.bmp       95x310, 24 bits
  icons/*.ico                  8-bit (256-colour) images with AND masks, 32 and/or 16 pixels

Faces are drawn on the classic button grey (C0C0C0), which nothing else in them uses; a mask is
white where its face shows that grey (transparent) and black elsewhere. A face pasted without its
mask (the clipboard route of old Outlook versions) then still sits well on a grey toolbar.
Icon pixels are transparent exactly where the AND mask is set; those pixels use palette index 0
(black) in the colour image, and no visible pixel uses index 0.
"""

import argparse
import os
import struct
import sys

BUTTON_GREY = (0xC0, 0xC0, 0xC0)
WHITE = (0xFF, 0xFF, 0xFF)
BLACK = (0x00, 0x00, 0x00)
TRANSPARENT = None

INK = (0x1F, 0x3A, 0x68)        # outlines
PAPER = (0xFF, 0xFF, 0xF4)      # envelope and page fill
FLAP = (0x7A, 0x8F, 0xB3)       # envelope flap lines
RED = (0xC0, 0x28, 0x28)
GREEN = (0x1E, 0x8A, 0x3C)
ORANGE = (0xE0, 0x78, 0x10)
BLUE = (0x24, 0x5C, 0xC8)
SKIN = (0xF0, 0xC0, 0x8C)
SHIRT = (0x3C, 0x70, 0xB8)
SHIRT2 = (0x2E, 0x8A, 0x6E)
STEEL = (0x78, 0x80, 0x8C)
STEEL_DARK = (0x40, 0x46, 0x50)
PENCIL = (0xF0, 0xC0, 0x20)
TEAL = (0x10, 0x80, 0x90)
SKY = (0x20, 0x50, 0xA0)

# Pixel fonts: 3x5 for the small letters, 5x7 for the logos.
FONT3 = {
    "T": ["###", ".#.", ".#.", ".#.", ".#."],
    "O": ["###", "#.#", "#.#", "#.#", "###"],
    "C": ["###", "#..", "#..", "#..", "###"],
    "B": ["##.", "#.#", "##.", "#.#", "##."],
    "%": ["#.#", "..#", ".#.", "#..", "#.#"],
    "i": ["#", ".", "#", "#", "#"],
}
FONT5 = {
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
}


class Canvas:
    """A picture of RGB tuples (or TRANSPARENT), row 0 at the top."""

    def __init__(self, width, height, background):
        self.width = width
        self.height = height
        self.background = background
        self.pixels = [background] * (width * height)

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def set(self, x, y, colour):
        if colour == self.background and colour is not TRANSPARENT:
            raise ValueError("a drawing may not use the background colour")
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with corners (x0, y0) and (x1, y1), both included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.rect(x0, y0, x1, y0, colour)
        self.rect(x0, y1, x1, y1, colour)
        self.rect(x0, y0, x0, y1, colour)
        self.rect(x1, y0, x1, y1, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        """Bresenham's line; a width of 2 or more thickens it downwards and to the right."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.rect(x0, y0, x0 + width - 1, y0 + width - 1, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, colour):
        """Every pixel whose centre lies within r of (cx, cy); centres are at half pixels."""
        for y in range(self.height):
            for x in range(self.width):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, colour)

    def text(self, x, y, string, font, colour, scale=1, gap=1):
        for ch in string:
            glyph = font[ch]
            for row, bits in enumerate(glyph):
                for col, bit in enumerate(bits):
                    if bit == "#":
                        self.rect(x + col * scale, y + row * scale, x + (col + 1) * scale - 1,
                                  y + (row + 1) * scale - 1, colour)
            x += (len(glyph[0]) + gap) * scale

    def blit(self, other, ox, oy):
        for y in range(other.height):
            for x in range(other.width):
                c = other.get(x, y)
                if c != other.background:
                    self.set(ox + x, oy + y, c)


def text_width(string, font, scale=1, gap=1):
    return sum((len(font[ch][0]) + gap) * scale for ch in string) - gap * scale


# Picture parts. Each takes the canvas and the picture's size (16 or 32); coordinates grow with
# the size, lines stay one pixel wide.

def envelope(cv, x0, y0, x1, y1):
    cv.rect(x0, y0, x1, y1, PAPER)
    mx, my = (x0 + x1) // 2, y0 + (y1 - y0) * 3 // 5
    cv.line(x0, y0, mx, my, FLAP)
    cv.line(x1, y0, mx + (x1 - x0) % 2, my, FLAP)
    cv.frame(x0, y0, x1, y1, INK)


def person(cv, cx, top, k, shirt):
    """A head and shoulders, k pixels per unit (1 at 16, 2 at 32)."""
    cv.disc(cx, top + 1.5 * k, 1.6 * k, SKIN)
    cv.rect(int(cx - 2.5 * k), top + 3 * k + 1, int(cx + 2.5 * k) - 1, top + 6 * k, shirt)


def gear(cv, size):
    k = size // 16
    c = size / 2
    for (dx, dy) in ((0, -1), (0, 1), (-1, 0), (1, 0)):
        x, y = c + dx * 6 * k, c + dy * 6 * k
        cv.rect(int(x - 1.5 * k), int(y - 1.5 * k), int(x + 1.5 * k) - 1, int(y + 1.5 * k) - 1,
                STEEL_DARK)
    for (dx, dy) in ((-1, -1), (1, -1), (-1, 1), (1, 1)):
        x, y = c + dx * 4.3 * k, c + dy * 4.3 * k
        cv.disc(x, y, 1.6 * k, STEEL_DARK)
    cv.disc(c, c, 5.2 * k, STEEL_DARK)
    cv.disc(c, c, 4.2 * k, STEEL)
    cv.disc(c, c, 1.8 * k, PAPER)


def letters_below_envelope(cv, size, string, colour):
    k = size // 16
    envelope(cv, k, k, size - 1 - k, 9 * k)
    x = (size - text_width(string, FONT3, k)) // 2
    cv.text(x, 11 * k, string, FONT3, colour, k)


def two_people(cv, size):
    k = size // 16
    person(cv, 5 * k, 1 * k, k, SHIRT2)
    person(cv, 10 * k, 3 * k, k, SHIRT)


def new_list(cv, size):
    k = size // 16
    two_people(cv, size)
    c = 12.5 * k
    cv.rect(int(c - 3 * k), int(c - 0.5 * k), int(c + 3 * k) - 1, int(c + 0.5 * k) - 1, GREEN)
    cv.rect(int(c - 0.5 * k), int(c - 3 * k), int(c + 0.5 * k) - 1, int(c + 3 * k) - 1, GREEN)


def existing_list(cv, size):
    k = size // 16
    cv.rect(0, 0, 9 * k - 1, size - 1, PAPER)
    cv.frame(0, 0, 9 * k - 1, size - 1, INK)
    for row in range(4):
        y = (3 + 3 * row) * k
        cv.rect(2 * k, y, 7 * k - 1, y + k - 1, FLAP)
    person(cv, 12 * k, 5 * k, k, SHIRT)


def drafts(cv, size):
    k = size // 16
    cv.rect(2 * k, 0, 12 * k - 1, size - 1, PAPER)
    cv.frame(2 * k, 0, 12 * k - 1, size - 1, INK)
    for row in range(3):
        y = (3 + 3 * row) * k
        cv.rect(4 * k, y, 10 * k - 1, y + k - 1, FLAP)
    cv.line(size - 2 * k, 5 * k, 7 * k, size - 3 * k, PENCIL, 2 * k)
    cv.line(size - 1, 5 * k, 8 * k, size - 2 * k, INK, 1)
    cv.rect(6 * k, size - 2 * k, 7 * k - 1, size - k - 1, INK)


def mode_all(cv, size):
    k = size // 16
    envelope(cv, 0, k, 11 * k - 1, 8 * k - 1)
    person(cv, 4 * k, 9 * k, k, SHIRT2)
    person(cv, 12 * k, 9 * k, k, SHIRT)
    person(cv, 8 * k, 8 * k, k, SHIRT)


def mode_separately(cv, size):
    k = size // 16
    for i in range(3):
        x, y = 2 * i * k, 3 * i * k
        envelope(cv, x + k, y, x + 10 * k, y + 6 * k)


def insert_field(cv, size):
    k = size // 16
    cv.rect(0, 3 * k, size - 1, 12 * k, PAPER)
    cv.frame(0, 3 * k, size - 1, 12 * k, INK)
    cv.text(2 * k, 5 * k + k // 2, "%", FONT3, ORANGE, k)
    cv.rect(7 * k, 5 * k, 7 * k + k - 1, 10 * k + k - 1, INK)   # the caret
    cv.rect(9 * k, 7 * k, 13 * k - 1, 8 * k - 1, FLAP)


def about(cv, size):
    k = size // 16
    cv.disc(size / 2, size / 2, 7.4 * k, BLUE)
    cv.text(7 * k, 4 * k, "i", FONT3, WHITE, 2 * k)


def main_icon(cv, size, back):
    k = size // 16
    cv.disc(size / 2, size / 2, 7.8 * k, back)
    envelope(cv, 3 * k, 4 * k, size - 1 - 3 * k, size - 1 - 4 * k)
    # the group: three dots on the envelope's lower edge
    for i in (-1, 0, 1):
        cv.disc(size / 2 + i * 2.6 * k, size - 5.5 * k, 0.9 * k, ORANGE)


PICTURES = {
    "to": lambda cv, s: letters_below_envelope(cv, s, "TO", BLUE),
    "cc": lambda cv, s: letters_below_envelope(cv, s, "CC", GREEN),
    "bcc": lambda cv, s: letters_below_envelope(cv, s, "BCC", RED),
    "newdl": new_list,
    "dl": existing_list,
    "options": lambda cv, s: gear(cv, s),
    "about": about,
    "drafts": drafts,
    "insert": insert_field,
    "modeall": mode_all,
    "modesep": mode_separately,
    "main": lambda cv, s: main_icon(cv, s, SKY),
    "main2": lambda cv, s: main_icon(cv, s, TEAL),
}


def draw(picture, size, background):
    cv = Canvas(size, size, background)
    PICTURES[picture](cv, size)
    return cv


def logo(width, height, vertical):
    cv = Canvas(width, height, BLACK)
    for y in range(height):
        t = y / (height - 1)
        shade = (int(0x20 + 0xC8 * t), int(0x50 + 0xA0 * t), int(0xA0 + 0x58 * t))
        cv.rect(0, y, width - 1, y, shade)
    if vertical:
        envelope(cv, 12, 18, width - 13, 70)
        scale = 5
        y = 92
        for ch in "PLEXA":
            x = (width - text_width(ch, FONT5, scale)) // 2
            cv.text(x + 1, y + 1, ch, FONT5, WHITE, scale)
            cv.text(x, y, ch, FONT5, INK, scale)
            y += 7 * scale + 6
    else:
        envelope(cv, 40, 12, width - 41, 68)
        scale = 4
        x = (width - text_width("PLEXA", FONT5, scale)) // 2
        cv.text(x + 1, 83, "PLEXA", FONT5, WHITE, scale)
        cv.text(x, 82, "PLEXA", FONT5, INK, scale)
    return cv


# File writers.

def dib_header(width, height, bits, image_size, colours_used, ppm):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, ppm, ppm,
                       colours_used, 0)


def rows_bottom_up(cv):
    return [[cv.get(x, y) for x in range(cv.width)] for y in reversed(range(cv.height))]


def pad(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def pack_bits(bits):
    out = bytearray()
    for i in range(0, len(bits), 8):
        byte = 0
        for j, bit in enumerate(bits[i:i + 8]):
            byte |= bit << (7 - j)
        out.append(byte)
    return bytes(out)


def palette_of(cv, reserve_black=False):
    colours = [BLACK] if reserve_black else []
    for c in cv.pixels:
        if c is not TRANSPARENT and c not in colours[1 if reserve_black else 0:]:
            colours.append(c)
    if len(colours) > 256:
        raise ValueError("more than 256 colours")
    return colours


def rgbquads(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)


def bmp_file(cv, bits):
    rows = rows_bottom_up(cv)
    if bits == 24:
        palette = b""
        used = 0
        data = b"".join(pad(b"".join(struct.pack("<BBB", b, g, r) for (r, g, b) in row))
                        for row in rows)
    elif bits == 8:
        colours = palette_of(cv)
        palette, used = rgbquads(colours), len(colours)
        data = b"".join(pad(bytes(colours.index(c) for c in row)) for row in rows)
    elif bits == 1:
        colours = [BLACK, WHITE]
        palette, used = rgbquads(colours), 2
        data = b"".join(pad(pack_bits([colours.index(c) for c in row])) for row in rows)
    else:
        raise ValueError(bits)
    info = dib_header(cv.width, cv.height, bits, len(data), used, 2835)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + palette + data


def icon_image(cv):
    """One 8-bit icon image: header (height doubled), 256-entry palette, colours, AND mask."""
    colours = palette_of(cv, reserve_black=True)
    rows = rows_bottom_up(cv)
    xor = b"".join(pad(bytes(0 if c is TRANSPARENT else colours.index(c, 1) for c in row))
                   for row in rows)
    mask = b"".join(pad(pack_bits([1 if c is TRANSPARENT else 0 for c in row])) for row in rows)
    colours += [BLACK] * (256 - len(colours))
    info = dib_header(cv.width, cv.height * 2, 8, len(xor) + len(mask), 0, 0)
    return info + rgbquads(colours) + xor + mask


def ico_file(canvases):
    images = [icon_image(cv) for cv in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for cv, image in zip(canvases, images):
        out += struct.pack("<BBBBHHII", cv.width % 256, cv.height % 256, 0, 0, 1, 8, len(image),
                           offset)
        offset += len(image)
    return out + b"".join(images)


def mask_of(face):
    mask = Canvas(face.width, face.height, WHITE)
    for y in range(face.height):
        for x in range(face.width):
            if face.get(x, y) != face.background:
                mask.set(x, y, BLACK)
    return mask


# What is written.

FOLDER_FACES = {101: "to", 102: "cc", 103: "bcc", 104: "newdl", 105: "dl", 106: "options",
                107: "about"}
MESSAGE_FACES = {"BTN_DRAFTS": "drafts", "BTN_INSERT": "insert", "BTN_MODEALL": "modeall",
                 "BTN_MODESEP": "modesep", "BTN_OPTIONS": "options"}
ICONS = {
    # name: (picture, sizes); a size given as "16in32" is the 16-pixel picture centred in 32
    "MAIN_ICON": ("main", (32, 16)),
    "MAIN_ICON_": ("main2", (32, 16)),
    "ICO_E_TO": ("to", (32, 16)),
    "ICO_E_CC": ("cc", (32, 16)),
    "ICO_E_BCC": ("bcc", (32, 16)),
    "ICO_E_NEWDL": ("newdl", (32, 16)),
    "ICO_E_DL": ("dl", (32, 16)),
    "ICO_E_OPTIONS": ("options", (32, 16)),
    "ICO_OPTIONS32": ("options", (32,)),
    "ICO_DRAFTS32": ("drafts", (32,)),
    "ICO_MODEALL32": ("modeall", (32,)),
    "ICO_MODESEP32": ("modesep", (32,)),
    "ICO_INSERT32": ("insert", (32,)),
    "ICO_OPTIONS": ("options", (16,)),
    "ICO_DRAFTS": ("drafts", (16,)),
    "ICO_MODEALL": ("modeall", (16,)),
    "ICO_MODESEP": ("modesep", (16,)),
    "ICO_INSERT": ("insert", (16,)),
    "ICO_TO_16X16IN32X32": ("to", ("16in32",)),
    "ICO_CC_16X16IN32X32": ("cc", ("16in32",)),
    "ICO_BCC_16X16IN32X32": ("bcc", ("16in32",)),
    "ICO_NEW_DL_16X16IN32X32": ("newdl", ("16in32",)),
    "ICO_EXISTING_DL_16X16IN32X32": ("dl", ("16in32",)),
    "ICO_ABOUT_16X16IN32X32": ("about", ("16in32",)),
}


def artwork():
    """Every file as (relative path, bytes), in a fixed order."""
    files = []
    for number, picture in FOLDER_FACES.items():
        face = draw(picture, 16, BUTTON_GREY)
        depth = 24 if number == 107 else 8
        files.append((f"bitmaps/{number}.bmp", bmp_file(face, depth)))
        files.append((f"bitmaps/{number + 100}.bmp", bmp_file(mask_of(face), 24 if
                                                               number == 107 else 1)))
    for name, picture in MESSAGE_FACES.items():
        face = draw(picture, 16, BUTTON_GREY)
        files.append((f"bitmaps/{name}.bmp", bmp_file(face, 24)))
        files.append((f"bitmaps/{name}_MASK.bmp", bmp_file(mask_of(face), 24)))
    files.append(("bitmaps/LOGO.bmp", bmp_file(logo(150, 125, False), 24)))
    files.append(("bitmaps/LOGO_ABOUT.bmp", bmp_file(logo(95, 310, True), 24)))
    for name, (picture, sizes) in ICONS.items():
        canvases = []
        for size in sizes:
            if size == "16in32":
                cv = Canvas(32, 32, TRANSPARENT)
                cv.blit(draw(picture, 16, TRANSPARENT), 8, 8)
            else:
                cv = draw(picture, size, TRANSPARENT)
            canvases.append(cv)
        files.append((f"icons/{name}.ico", ico_file(canvases)))
    return files


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.dirname(os.path.abspath(__file__)))
    args = parser.parse_args(argv)
    for path, data in artwork():
        full = os.path.join(args.out, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
