#!/usr/bin/env python3
"""Draws the sort buttons' picture (src/app/resources/folder.png).

A 38 x 38, 24-bit yellow folder on exactly white (#FFFFFF): the buttons cut
the white away, so each takes the folder's outline. No other pixel is white,
and the corners stay white, so the bottom-left pixel gives the key.
"""
import pathlib

from draw_shell_bitmaps import write_png

SIZE = 38
WHITE = (255, 255, 255)
OUTLINE = (120, 84, 0)
BACK = (222, 168, 24)
BACK_DARK = (190, 136, 8)
FRONT = (255, 210, 60)
FRONT_LIGHT = (255, 236, 150)
FRONT_DARK = (236, 178, 30)
PAPER = (248, 248, 240)


def folder():
    px = [[WHITE] * SIZE for _ in range(SIZE)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = colour

    # The back with its tab on the upper left.
    fill(3, 6, 15, 9, BACK)
    fill(3, 9, 34, 32, BACK)
    fill(3, 28, 34, 32, BACK_DARK)
    for x in range(3, 16):
        px[5][x] = OUTLINE
    px[6][16] = OUTLINE
    px[7][17] = OUTLINE
    for x in range(17, 35):
        px[8][x] = OUTLINE
    for y in range(6, 33):
        px[y][2] = OUTLINE
    for y in range(9, 33):
        px[y][35] = OUTLINE

    # A sheet of paper peeking out of the folder.
    fill(6, 11, 31, 16, PAPER)
    for x in range(6, 32):
        px[11][x] = (200, 200, 190)

    # The front flap.
    top, bottom = 15, 32
    left, right = 3, 34
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            colour = FRONT
            if y <= top + 1:
                colour = FRONT_LIGHT
            elif y >= bottom - 3:
                colour = FRONT_DARK
            px[y][x] = colour
        px[y][left - 1] = OUTLINE
        px[y][right + 1] = OUTLINE
    for x in range(2, 36):
        px[top - 1][x] = OUTLINE
    for x in range(2, 36):
        px[bottom + 1][x] = OUTLINE
    return px


if __name__ == "__main__":
    out = pathlib.Path(__file__).resolve().parent.parent / "src" / "app" / "resources" / "folder.png"
    write_png(out, folder())
