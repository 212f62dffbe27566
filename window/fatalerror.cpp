#include "fatalerror.h"

#include "texts.h"

#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

// Runs when something has already gone wrong, perhaps for want of memory,
// so nothing here may throw past it: the stderr line and the exit status
// come even when the box cannot be built.
[[noreturn]] void endWithError(QWidget *window, const char *what) noexcept
{
    try {
        const QString text = QString::fromUtf8(slidane::texts::kErrorPrefix) + QString::fromLocal8Bit(what);
        std::fprintf(stderr, "slidane: %s\n", qUtf8Printable(text));
        try {
            QMessageBox box(QMessageBox::Critical, slidane::texts::appTitle(), text, QMessageBox::Ok, window);
            box.exec();
        } catch (...) {
        }
    } catch (...) {
        std::fprintf(stderr, "slidane: %s%s\n", slidane::texts::kErrorPrefix, what);
    }
    std::exit(EXIT_FAILURE);
}

} // namespace

void runHandler(QWidget *window, const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        endWithError(window, error.what());
    } catch (...) {
        endWithError(window, slidane::texts::kUnknownError);
    }
}
