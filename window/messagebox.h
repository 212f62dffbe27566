#pragma once

class QString;
class QWidget;

// The game's one kind of message: modal, the information icon, one OK button
// and the application title as its caption. Returns when the box is closed.
void showMessage(QWidget *parent, const QString &text);
