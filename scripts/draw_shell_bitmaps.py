#!/usr/bin/env python3
"""Draws the browsing components' bitmap resources (src/shell/bitmaps).

Both are small 24-bit pictures on magenta (#FF00FF), which the program
leaves out when drawing: "OverlayHidden", an overlay for hidden items, and
"ToolBar-Normal", a strip of four 16 x 16 toolbar images (1: up one
folder, 3: view menu).
"""
import pathlib
import struct
import zlib

MAGENTA = (255, 0, 255)


def write_png(path, pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    path.write_bytes(png)


def canvas(width, height):
    return [[MAGENTA] * width for _ in range(height)]


def draw(pixels, art, left, top, palette):
    for y, line in enumerate(art):
        for x, ch in enumerate(line):
            if ch in palette:
                pixels[top + y][left + x] = palette[ch]


OVERLAY = [
    "  .....  ",
    " .#####. ",
    ".##...##.",
    ".#.o.o.#.",
    ".#.....#.",
    ".#.###.#.",
    ".##...##.",
    " .#.#.#. ",
    "  . . .  ",
]

UP_FOLDER = [
    "                ",
    "         #      ",
    "        ###     ",
    "       #####    ",
    " ####    #      ",
    "#yyyy#   #      ",
    "#yyyyy####      ",
    "#yyyyyyyyyy#    ",
    "#yyyyyyyyyyy#   ",
    "#yyyyyyyyyyy#   ",
    "#yyyyyyyyyyy#   ",
    "#yyyyyyyyyyy#   ",
    "#yyyyyyyyyyy#   ",
    "#############   ",
    "                ",
    "                ",
]

BACK = [
    "                ",
    "                ",
    "      #         ",
    "     ##         ",
    "    #g#         ",
    "   #gg#######   ",
    "  #ggggggggg#   ",
    " #gggggggggg#   ",
    "  #ggggggggg#   ",
    "   #gg#######   ",
    "    #g#         ",
    "     ##         ",
    "      #         ",
    "                ",
    "                ",
    "                ",
]

NEW_FOLDER = [
    "           s    ",
    "         s s s  ",
    "          sss   ",
    " ####   sssssss ",
    "#yyyy#    sss   ",
    "#yyyyy#### s s  ",
    "#yyyyyyyyy#  s  ",
    "#yyyyyyyyyy#    ",
    "#yyyyyyyyyyy#   ",
    "#yyyyyyyyyyy#   ",
    "#yyyyyyyyyyy#   ",
    "#yyyyyyyyyyy#   ",
    "#yyyyyyyyyyy#   ",
    "#############   ",
    "                ",
    "                ",
]

VIEW_MENU = [
    "                ",
    " ##### ######## ",
    " #bbb#          ",
    " #bbb# ######## ",
    " ##### ######## ",
    "                ",
    " ##### ######## ",
    " #bbb#          ",
    " #bbb# ######## ",
    " ##### ######## ",
    "                ",
    " ##### ######## ",
    " #bbb#          ",
    " #bbb# ######## ",
    " ##### ######## ",
    "                ",
]

PALETTE = {
    "#": (40, 40, 40),
    ".": (255, 255, 255),
    "o": (40, 40, 40),
    "y": (250, 208, 90),
    "g": (70, 160, 70),
    "s": (230, 180, 0),
    "b": (70, 120, 210),
}


def main():
    out = pathlib.Path(__file__).resolve().parent.parent / "src" / "shell" / "bitmaps"
    out.mkdir(parents=True, exist_ok=True)

    overlay = canvas(16, 16)
    draw(overlay, OVERLAY, 0, 7, {"#": (110, 110, 110), ".": (255, 255, 255), "o": (30, 30, 30)})
    write_png(out / "OverlayHidden.png", overlay)

    strip = canvas(64, 16)
    for cell, art in enumerate([BACK, UP_FOLDER, NEW_FOLDER, VIEW_MENU]):
        draw(strip, art, cell * 16, 0, PALETTE)
    write_png(out / "ToolBar-Normal.png", strip)


if __name__ == "__main__":
    main()
