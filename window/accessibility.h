#pragma once

class QWidget;

// How the game presents itself to assistive technology: the window as a
// frame without the hidden exchange cell, and each cell as a button whose
// Press action is the player's click.
namespace accessibility {

// Installs the interfaces; the first call counts, later ones do nothing.
void install();

// Tells assistive technology the new name of a cell whose tile changed, as
// text that a screen reader can speak.
void announceName(QWidget *cell);

} // namespace accessibility
