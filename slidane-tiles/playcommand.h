#pragma once

// slidane-tiles play [--] [PHOTO]: the photo becomes a puzzle, and the game
// starts on it. The way in from the desktop: a file manager's "Open With",
// or the menu entry, which asks for a photo. Refusals are shown in a message
// box as well as on standard error. Returns the exit status when the game
// could not be started in its place.
int runPlay(int argc, char *argv[]);
