#include "fatalerror.h"

#include "texts.h"

#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

[[noreturn]] void endWithError(QWidget *window, const QString &what)
{
    const QString text = QStringLiteral("Chyba: ") + what;
    std::fprintf(stderr, "slidane: %s\n", qUtf8Printable(text));
    QMessageBox box(QMessageBox::Critical, slidane::texts::appTitle(), text, QMessageBox::Ok, window);
    box.exec();
    std::exit(EXIT_FAILURE);
}

} // namespace

void runHandler(QWidget *window, const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        endWithError(window, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        endWithError(window, QStringLiteral("neznámá chyba"));
    }
}
