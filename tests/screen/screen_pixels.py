"""Reads screenshots (binary PPM, as ImageMagick's convert writes them) for the screen checks.

Usage:
  screen_pixels.py sharp2x SHOT.ppm
      the canvas at (88, 8) on a screen scaled by 2: every canvas pixel a 2 x 2 block of one
      colour, cell (2, 1) black, the grid grey, the rest white
  screen_pixels.py runs SHOT.ppm row|column AT START LENGTH CELLS
      along a row (or column) of the canvas: every grey run (grid line) one pixel, the other
      runs (cells) within one pixel of each other, CELLS of them
  screen_pixels.py grey SHOT.ppm X Y N
      the x of the Nth grey pixel from (X, Y) to the right
"""
import sys

GREY, WHITE, BLACK = (192, 192, 192), (255, 255, 255), (0, 0, 0)


def read(path):
    data = open(path, 'rb').read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    width, pixels = int(fields[1]), data[pos + 1:]
    return lambda x, y: tuple(pixels[3 * (y * width + x):3 * (y * width + x) + 3])


def sharp2x(px):
    ox, oy, bad = 88 * 2, 8 * 2, []
    for cy in range(60):
        for cx in range(60):
            block = {px(ox + 2 * cx + dx, oy + 2 * cy + dy) for dx in (0, 1) for dy in (0, 1)}
            colour = block.pop()
            if block:
                bad.append((cx, cy, 'not one colour'))
            black = 25 <= cx <= 35 and 13 <= cy <= 23
            want = BLACK if black else GREY if cx % 12 == 0 or cy % 12 == 0 else WHITE
            if colour != want:
                bad.append((cx, cy, colour, want))
    if bad:
        sys.exit(f"canvas pixels not shown as sharp blocks of the right colour: {bad[:10]}")
    print("scale 2: 3600 canvas pixels sharp")


def runs(px, axis, at, start, length, cells):
    line = [px(start + i, at) if axis == 'row' else px(at, start + i) for i in range(length)]
    found = []
    for c in line:
        if found and found[-1][0] == c:
            found[-1][1] += 1
        else:
            found.append([c, 1])
    problems = [f"a grid line {n} pixels wide" for c, n in found if c == GREY and n != 1]
    problems += [f"a pixel of colour {c}" for c, n in found if c not in (GREY, WHITE, BLACK)]
    cell = [n for c, n in found if c != GREY]
    if len(cell) != cells:
        problems.append(f"{len(cell)} cells, not {cells}")
    if cell and max(cell) - min(cell) > 1:
        problems.append(f"cells {min(cell)} to {max(cell)} pixels wide")
    if problems:
        sys.exit(f"{axis} {at}: " + "; ".join(problems[:5]))
    print(f"{axis} {at}: {cells} cells of {min(cell)} or {max(cell)} pixels, every grid line 1 pixel")


def grey(px, x, y, n):
    greys = [i for i in range(x, x + 400) if px(i, y) == GREY]
    print(greys[n])


if __name__ == '__main__':
    what, px, args = sys.argv[1], read(sys.argv[2]), sys.argv[3:]
    if what == 'sharp2x':
        sharp2x(px)
    elif what == 'runs':
        runs(px, args[0], *map(int, args[1:]))
    else:
        grey(px, *map(int, args))
