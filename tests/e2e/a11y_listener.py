#!/usr/bin/python3
"""Plays the running game as a screen reader does, over the AT-SPI bus.

Checks the roles and names of the window, performs the Press action of a
cell beside the gap and of a far cell, and checks what a screen reader
hears after a move: a name-change event whose data is the moved cell's new
name as text.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TITLE = "15 - Dlaždovka - Slidane"
GAP = "Prázdné pole"


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def pump(seconds, until=lambda: False):
    """Delivers bus events for up to `seconds`, or until `until()` holds."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if until() or time.monotonic() > end:
            return until()
        time.sleep(0.02)


def find_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "slidane":
            return app
    return None


class Screen:
    """A screenshot of the whole screen, read as a binary PPM."""

    def __init__(self):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                              check=True, capture_output=True).stdout
        fields = data.split(maxsplit=4)  # P6, width, height, maxval, pixels
        self.width = int(fields[1])
        self.pixels = fields[4]

    def colour(self, x, y):
        at = 3 * (y * self.width + x)
        return self.pixels[at:at + 3].hex().upper()


names = []
pyatspi.Registry.registerEventListener(
    lambda event: names.append((event.source, event.any_data)), "object:property-change:accessible-name")

app = None
if not pump(20, lambda: find_app() is not None):
    fail("the game never showed up on the accessibility bus")
app = find_app()
frame = app[0]
if frame.getRole() != pyatspi.ROLE_FRAME or frame.name != TITLE:
    fail(f"the window is a {frame.getRoleName()} named {frame.name!r}, want a frame named {TITLE!r}")
children = {(child.getRoleName(), child.name) for child in frame}
want = {("panel", "Hrací plocha"), ("push button", "Start"), ("push button", "End"), ("push button", "Help"),
        ("image", "Vyřešený hlavolam")}
if children != want:
    fail(f"the window holds {sorted(children)}, want {sorted(want)}")
if not all(child.getState().contains(pyatspi.STATE_SHOWING) for child in frame):
    fail("a hidden control is in the window's tree")

board = next(child for child in frame if child.getRole() == pyatspi.ROLE_PANEL)
cells = list(board)
if len(cells) != 16 or any(cell.getRole() != pyatspi.ROLE_PUSH_BUTTON for cell in cells):
    fail("the board does not hold sixteen push buttons")
if sorted(cell.name for cell in cells) != sorted([GAP] + [f"Dlaždice {n}" for n in range(1, 16)]):
    fail(f"the cells are named {[cell.name for cell in cells]}")
if any(cell.queryAction().getName(0) != "Press" for cell in cells):
    fail("a cell's default action is not Press")

# Where each cell stands, from its place on the screen.
extents = [cell.queryComponent().getExtents(pyatspi.DESKTOP_COORDS) for cell in cells]
left = min(e.x for e in extents)
top = min(e.y for e in extents)
at = {(round((e.y - top) / 40), round((e.x - left) / 40)): (cell, e) for cell, e in zip(cells, extents)}


def gap_place():
    return next(place for place, (cell, _) in at.items() if cell.name == GAP)


def shown(screen, place):
    # Three pixels inside the picture: grey only on the gap.
    _, e = at[place]
    return screen.colour(e.x + 4, e.y + 4)


def move_shown(gap_now, gap_was):
    screen = Screen()
    return shown(screen, gap_now) == "C0C0C0" and shown(screen, gap_was) != "C0C0C0"


row, col = gap_place()
if shown(Screen(), (row, col)) != "C0C0C0":
    fail("the gap's cell does not show the gap")
beside = (row - 1, col) if row > 0 else (row + 1, col)
tile, _ = at[beside]
tile_name = tile.name
tile.queryAction().doAction(0)
if not pump(5, lambda: tile.name == GAP and at[(row, col)][0].name == tile_name):
    fail(f"Press on {tile_name} beside the gap moved nothing")
if not pump(5, lambda: move_shown(beside, (row, col))):
    fail("the screen does not show the move")
pump(0.5)
if not any(source == tile and isinstance(data, str) and data == GAP for source, data in names):
    fail(f"no name change carried the moved cell's new name as text; heard {[d for _, d in names]!r}")

# A cell two steps from the gap: nothing moves.
row, col = gap_place()
far = next(place for place in at if abs(place[0] - row) + abs(place[1] - col) >= 2)
screen = Screen()
before = [(cell.name, shown(screen, place)) for place, (cell, _) in sorted(at.items())]
at[far][0].queryAction().doAction(0)
pump(1)
screen = Screen()
if [(cell.name, shown(screen, place)) for place, (cell, _) in sorted(at.items())] != before:
    fail("Press on a far cell changed the board")
print(f"PASS: frame, board and buttons named; Press moved {tile_name} and was heard; a far cell stayed")
