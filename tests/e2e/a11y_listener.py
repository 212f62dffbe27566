#!/usr/bin/python3
"""Plays the running game as a screen reader does, over the AT-SPI bus.

Checks the roles, names and places of the window's controls, gives a cell
the keyboard focus, performs the Press action of other cells and of Start,
and checks what a screen reader hears after each: a description-change
event about the focused cell whose data is the outcome as text.
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


news = []
pyatspi.Registry.registerEventListener(
    lambda event: news.append((event.source, event.any_data)), "object:property-change:accessible-description")

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
places = {place: cell.description for place, (cell, _) in at.items()}
if places != {(r, c): f"řádek {r + 1}, sloupec {c + 1}" for r in range(4) for c in range(4)}:
    fail(f"the cells describe their places as {sorted(places.items())}")

# The window takes the keyboard focus, and with it one cell: news is told
# about that cell whichever cell is pressed.
subprocess.run(["xdotool", "search", "--sync", "--name", f"^{TITLE}$", "windowfocus", "--sync"], check=True,
               capture_output=True)
if not pump(5, lambda: any(cell.getState().contains(pyatspi.STATE_FOCUSED) for cell in cells)):
    fail("no cell has the focus in the focused window")
focused = next(cell for cell in cells if cell.getState().contains(pyatspi.STATE_FOCUSED))


def press(accessible, heard):
    """Presses accessible; the focused cell must tell `heard` and then send a
    change without text, so that a screen reader that keeps a copy of the
    description reads the real one again."""
    name = accessible.name
    news.clear()
    accessible.queryAction().doAction(0)
    if not pump(5, lambda: (focused, heard) in news and any(
            s == focused and not isinstance(d, str) for s, d in news[news.index((focused, heard)):])):
        fail(f"after Press on {name} the focused cell told {[d for s, d in news if s == focused]!r}, want {heard!r}"
             " and then no text")


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
beside = next(place for place in [(row - 1, col), (row, col - 1), (row, col + 1), (row + 1, col)]
              if place in at and at[place][0] != focused)
tile, _ = at[beside]
tile_name = tile.name
press(tile, f"{tile_name}: řádek {row + 1}, sloupec {col + 1}")
if not pump(5, lambda: tile.name == GAP and at[(row, col)][0].name == tile_name):
    fail(f"Press on {tile_name} beside the gap moved nothing")
if not pump(5, lambda: move_shown(beside, (row, col))):
    fail("the screen does not show the move")

# A cell two steps from the gap: nothing moves.
row, col = gap_place()
far = next(place for place in at if abs(place[0] - row) + abs(place[1] - col) >= 2)
screen = Screen()
before = [(cell.name, shown(screen, place)) for place, (cell, _) in sorted(at.items())]
press(at[far][0], f"{at[far][0].name} se nemůže posunout")
press(at[(row, col)][0], GAP)
pump(0.5)
screen = Screen()
if [(cell.name, shown(screen, place)) for place, (cell, _) in sorted(at.items())] != before:
    fail("Press on a far cell or on the gap changed the board")
press(next(child for child in frame if child.name == "Start"), "Nová hra")
if focused.description != places[next(place for place, (cell, _) in at.items() if cell == focused)]:
    fail(f"after the news the focused cell describes itself as {focused.description!r}")
print(f"PASS: frame, board and buttons named, cells placed; Press moved {tile_name}, a far tile and the gap"
      " stayed, Start dealt, and the focused cell told each")
