#pragma once

class QString;
class QWidget;

// How the game presents itself to assistive technology: the window as a
// frame without the hidden exchange cell, each cell as a button whose Press
// action is the player's click, and the outcome of every click as news that
// a screen reader speaks.
namespace accessibility {

// Installs the interfaces; the first call counts, later ones do nothing.
void install();

// Whether an assistive technology listens. When none does, nothing is
// announced, so callers need not build the text.
bool listening();

// Has a screen reader say text once, as news about the control that has the
// keyboard focus, or about origin when none has: screen readers speak such
// news only about the focused control. No name or description changes, and
// nothing is sent when no one listens.
void announce(QWidget *origin, const QString &text);

} // namespace accessibility
