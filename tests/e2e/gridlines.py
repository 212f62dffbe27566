#!/usr/bin/python3
"""Measures the board on a screenshot of the game.

Usage: gridlines.py SCREEN.ppm X0 Y0 RATIO
X0, Y0: the client area's top-left on the screen; RATIO: device pixels per
logical pixel. Prints the thickness in device pixels of each of the ten grid
lines, and fails unless each is RATIO rounded (at least one) and starts where
its logical position falls, and unless each cell's inside holds only the
pictures' colours and the cell's background.
"""
import sys

# The built-in set's colours, and that of the 39-pixel set hidpi_e2e.sh writes.
PICTURE = {"FF0000", "040000", "C0C0C0", "2080E0"}
BLACK = "000000"


def read_ppm(path):
    data = open(path, "rb").read()
    fields = data.split(maxsplit=4)  # P6, width, height, maxval, pixels
    return int(fields[1]), fields[4]


def main():
    path, x0, y0, ratio = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4])
    width, pixels = read_ppm(path)

    def colour(x, y):
        at = 3 * (y * width + x)
        return pixels[at:at + 3].hex().upper()

    def run(x, y, dx, dy):
        """From a little before a grid line, the first run of black: (start, length)."""
        while colour(x, y) != BLACK:
            x, y = x + dx, y + dy
        start, length = (x, y), 0
        while colour(x, y) == BLACK:
            x, y, length = x + dx, y + dy, length + 1
        return start, length

    device = lambda logical: int(logical * ratio)
    # Grid lines stand at 16 + 40k logical pixels from the client's corner;
    # each is measured across the middle of every cell it borders.
    vertical = [[run(x0 + device(16 + 40 * k) - 2, y0 + device(36 + 40 * r), 1, 0) for r in range(4)]
                for k in range(5)]
    horizontal = [[run(x0 + device(36 + 40 * c), y0 + device(16 + 40 * k) - 2, 0, 1) for c in range(4)]
                  for k in range(5)]
    thickness = {length for line in vertical + horizontal for _, length in line}
    want = max(1, int(ratio + 0.5))
    print("grid lines:", sorted(thickness), "device pixels, want", want)
    if thickness != {want}:
        print("FAIL: grid lines of the wrong thickness:",
              [[length for _, length in line] for line in vertical], [[length for _, length in line] for line in horizontal])
        return 1
    starts = {start[0] - x0 - device(16 + 40 * k) for k, line in enumerate(vertical) for start, _ in line}
    starts |= {start[1] - y0 - device(16 + 40 * k) for k, line in enumerate(horizontal) for start, _ in line}
    if starts != {0}:
        print("FAIL: grid lines off their places by", sorted(starts), "device pixels")
        return 1

    # Inside each cell, between its lines: picture colours, and the cell's
    # background where a 38-pixel picture leaves a strip of the inside.
    background = colour(x0 + device(12), y0 + device(100))
    allowed = PICTURE | {background}
    line = thickness.pop()
    for r in range(4):
        for c in range(4):
            left = vertical[c][r][0][0] + line
            right = vertical[c + 1][r][0][0]
            top = horizontal[r][c][0][1] + line
            bottom = horizontal[r + 1][c][0][1]
            seen = {colour(x, y) for x in range(left, right) for y in range(top, bottom)}
            if not seen <= allowed:
                print(f"FAIL: cell {4 * r + c + 1} holds colours {sorted(seen - allowed)}")
                return 1
    print("PASS: every grid line", line, "device pixels; cells hold only their pictures' colours")
    return 0


sys.exit(main())
