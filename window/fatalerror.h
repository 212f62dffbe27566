#pragma once

#include <functional>

class QWidget;

// Runs one event handler. An error that escapes it is shown in a message box
// and then ends the program with exit status 1, so that no exception unwinds
// through the toolkit's event loop and no half-handled state plays on.
void runHandler(QWidget *window, const std::function<void()> &handler);
