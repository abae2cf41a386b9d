#!/usr/bin/env python3
"""Draws Jotwell's icons, cursor and toolbar bitmap and writes them as .ico, .cur and .bmp.

Run from anywhere: python3 res/make_images.py. Only the standard library is used; the output
is deterministic, so the committed files change only when the drawings do.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The standard 16-colour palette (the one every 4-bit Windows image uses).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)
CLEAR = -1  # transparent pixel of an icon


class Canvas:
    """A grid of palette indices (or CLEAR) with a few drawing helpers."""

    def __init__(self, width, height, fill=CLEAR):
        self.width = width
        self.height = height
        self.px = [[fill] * width for _ in range(height)]

    def put(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.put(x, y0, c)
            self.put(x, y1, c)
        for y in range(y0, y1 + 1):
            self.put(x0, y, c)
            self.put(x1, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.put(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def art(self, x0, y0, rows, colours):
        """Paints ASCII art; each character maps to a colour, '.' leaves the pixel alone."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch != '.':
                    self.put(x0 + dx, y0 + dy, colours[ch])

    def enlarged(self, percent):
        """The same drawing percent/100 times as large, each pixel taken from the one it
        came from (sharp edges, no blending of colours)."""
        out = Canvas(self.width * percent // 100, self.height * percent // 100)
        for y in range(out.height):
            for x in range(out.width):
                out.px[y][x] = self.px[y * 100 // percent][x * 100 // percent]
        return out

    def paste(self, other, x0, y0):
        for y in range(other.height):
            for x in range(other.width):
                self.put(x0 + x, y0 + y, other.px[y][x])


# ---------------------------------------------------------------- drawings

def draw_notepad(size):
    """A spiral-bound notepad with written lines and a red arrow leaving it."""
    c = Canvas(size, size)
    if size == 32:
        c.rect(3, 3, 21, 28, WHITE)
        c.frame(3, 3, 21, 28, BLACK)
        c.rect(22, 5, 22, 29, GRAY)          # shadow
        c.rect(5, 29, 22, 29, GRAY)
        c.rect(4, 4, 20, 6, BLUE)            # cover strip
        for x in range(6, 20, 3):            # spiral rings
            c.rect(x, 1, x, 4, BLACK)
            c.put(x, 1, GRAY)
        for y, end in ((10, 18), (13, 16), (16, 18), (19, 13), (22, 15), (25, 11)):
            c.rect(6, y, end, y, NAVY)
        arrow = [
            "......KK.....",
            "......KRK....",
            "KKKKKKKRRK...",
            "KRRRRRRRRRK..",
            "KRRRRRRRRRRK.",
            "KRRRRRRRRRK..",
            "KKKKKKKRRK...",
            "......KRK....",
            "......KK.....",
        ]
        c.art(18, 18, arrow, {'K': BLACK, 'R': RED})
    else:
        c.rect(1, 2, 10, 14, WHITE)
        c.frame(1, 2, 10, 14, BLACK)
        c.rect(11, 3, 11, 15, GRAY)
        c.rect(2, 15, 11, 15, GRAY)
        c.rect(2, 3, 9, 3, BLUE)
        for x in (3, 5, 7, 9):
            c.rect(x, 0, x, 2, BLACK)
        for y, end in ((6, 8), (8, 7), (10, 8), (12, 6)):
            c.rect(3, y, end, y, NAVY)
        arrow = [
            "...K...",
            "...KK..",
            "KKKKRK.",
            "KRRRRRK",
            "KKKKRK.",
            "...KK..",
            "...K...",
        ]
        c.art(9, 8, arrow, {'K': BLACK, 'R': RED})
    return c


def draw_tray(size=16):
    """The notepad of the main icon on a yellow page, so it stands out in the notification area.
    24 pixels (150 %) is the 16-pixel drawing enlarged."""
    c = draw_notepad(size) if size != 24 else draw_notepad(16).enlarged(150)
    for y in range(size):
        for x in range(size):
            if c.px[y][x] == WHITE:
                c.px[y][x] = YELLOW
    return c


def draw_drag_cursor():
    """Arrow pointing to the upper left, tip at (1, 1), carrying a small text page."""
    rows = [
        "................................",
        ".K..............................",
        ".KK.............................",
        ".KWK............................",
        ".KWWK...........................",
        ".KWWWK..........................",
        ".KWWWWK.........................",
        ".KWWWWWK........................",
        ".KWWWWWWK.......................",
        ".KWWWWWWWK......................",
        ".KWWWWWWWWK.....................",
        ".KWWWWWKKKKK....................",
        ".KWWKWWK........................",
        ".KWK.KWWK.......................",
        ".KK..KWWK.KKKKKKKK..............",
        ".K....KWWKKWWWWWWKK.............",
        "......KWWKKWKKKKWKWK............",
        ".......KK.KWWWWWWKKKK...........",
        "..........KWKKKKKWWWK...........",
        "..........KWWWWWWWWWK...........",
        "..........KWKKKKKKKWK...........",
        "..........KWWWWWWWWWK...........",
        "..........KWKKKKKWWWK...........",
        "..........KWWWWWWWWWK...........",
        "..........KKKKKKKKKKK...........",
    ]
    c = Canvas(32, 32)
    c.art(0, 0, rows, {'K': BLACK, 'W': WHITE})
    return c


def draw_toolbar():
    """Four 16x15 buttons: browser auto-input, half-width letter, quote prefix, close."""
    c = Canvas(64, 15, SILVER)
    globe = [
        ".....NNNNN......",
        "...NNBBABBNN....",
        "..NBBGGABBBBN...",
        ".NBGGGGAGBBBBN..",
        ".NBGGGAAAGGBBN..",
        "NBBBGGABAGGGBBN.",
        "NAAAAAAAAAAAAAN.",
        "NBBBBBABABGGBBN.",
        "NBBBBBABAGGGGBN.",
        ".NBBBBABABGGBN..",
        ".NBBBAAAAABBBN..",
        "..NBBBBABBBBN...",
        "...NNBBABBNN....",
        ".....NNNNN......",
        "................",
    ]
    c.art(0, 0, globe, {'N': NAVY, 'B': BLUE, 'A': AQUA, 'G': GREEN})
    half_a = [
        "................",
        "......KKK.......",
        "......KKK.......",
        ".....KK.KK......",
        ".....KK.KK......",
        ".....KK.KK......",
        "....KK...KK.....",
        "....KK...KK.....",
        "....KKKKKKK.....",
        "....KKKKKKK.....",
        "...KK.....KK....",
        "...KK.....KK....",
        "...KK.....KK....",
        "..KKK.....KKK...",
        "................",
    ]
    c.art(16, 0, half_a, {'K': NAVY})
    c.rect(16 + 13, 3, 16 + 13, 12, GRAY)    # a narrow cell marker: the letter is half width
    quote = [
        "................",
        "................",
        ".NN.............",
        "..NN..GGGGGGGGG.",
        "...NN...........",
        "..NN..GGGGGG....",
        ".NN.............",
        "................",
        ".NN.............",
        "..NN..GGGGGGGGG.",
        "...NN...........",
        "..NN..GGGGGGG...",
        ".NN.............",
        "................",
        "................",
    ]
    c.art(32, 0, quote, {'N': NAVY, 'G': GRAY})
    close = [
        "................",
        "................",
        "...RR.....RR....",
        "...RRR...RRR....",
        "....RRR.RRR.....",
        ".....RRRRR......",
        "......RRR.......",
        ".....RRRRR......",
        "....RRR.RRR.....",
        "...RRR...RRR....",
        "...RR.....RR....",
        "................",
        "................",
        "................",
        "................",
    ]
    c.art(48, 0, close, {'R': MAROON})
    return c


# ---------------------------------------------------------------- encoders

def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)


def pack_4bit(canvas, clear_as):
    """Bottom-up rows of 4-bit pixels, each row padded to 32 bits."""
    out = b""
    for row in reversed(canvas.px):
        vals = [clear_as if p == CLEAR else p for p in row]
        if len(vals) % 2:
            vals.append(0)
        out += pad4(bytes((vals[i] << 4) | vals[i + 1] for i in range(0, len(vals), 2)))
    return out


def pack_1bit(canvas, bit_of):
    out = b""
    for row in reversed(canvas.px):
        bits = [bit_of(p) for p in row]
        bits += [0] * (-len(bits) % 8)
        out += pad4(bytes(sum(b << (7 - i) for i, b in enumerate(bits[n:n + 8]))
                          for n in range(0, len(bits), 8)))
    return out


def dib_header(width, height, bits, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 0, 0, colours, 0)


def icon_image(canvas):
    """One 4-bit icon image: header (double height), palette, colour bits, AND mask."""
    xor = pack_4bit(canvas, BLACK)
    mask = pack_1bit(canvas, lambda p: 1 if p == CLEAR else 0)
    return (dib_header(canvas.width, canvas.height * 2, 4, 16) + palette_bytes(PALETTE)
            + xor + mask)


def write_icon(path, canvases):
    images = [icon_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, img in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.width, c.height, 16, 0, 1, 4, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def write_cursor(path, canvas, hot_x, hot_y):
    """A two-colour cursor: black and white pixels, everything else transparent."""
    xor = pack_1bit(canvas, lambda p: 1 if p == WHITE else 0)
    mask = pack_1bit(canvas, lambda p: 1 if p == CLEAR else 0)
    img = (dib_header(canvas.width, canvas.height * 2, 1, 2)
           + palette_bytes([(0, 0, 0), (255, 255, 255)]) + xor + mask)
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", canvas.width, canvas.height, 2, 0, hot_x, hot_y, len(img), 22)
    with open(path, "wb") as f:
        f.write(out + img)


def write_bitmap(path, canvas):
    bits = pack_4bit(canvas, SILVER)
    info = dib_header(canvas.width, canvas.height, 4, 16) + palette_bytes(PALETTE)
    offset = 14 + len(info)
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + bits)


def main():
    write_icon(os.path.join(HERE, "Jotwell.ico"), [draw_notepad(32), draw_notepad(16)])
    # The small-icon size at 100 %, 150 % and 200 % scaling.
    write_icon(os.path.join(HERE, "Tray.ico"), [draw_tray(16), draw_tray(24), draw_tray(32)])
    write_cursor(os.path.join(HERE, "Drag.cur"), draw_drag_cursor(), 1, 1)
    write_bitmap(os.path.join(HERE, "Toolbar.bmp"), draw_toolbar())
    # For 150 % and 200 % scaling: four buttons of 24x22 and 32x30.
    for percent in (150, 200):
        write_bitmap(os.path.join(HERE, "Toolbar%d.bmp" % percent), draw_toolbar().enlarged(percent))


if __name__ == "__main__":
    main()
