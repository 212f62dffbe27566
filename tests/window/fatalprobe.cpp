// Raises an error inside a handler, as a fault in the game would, and lets
// the program's own error path report it and end the process. Prints what
// the error box showed, for the test that runs this probe.
#include "fatalerror.h"
#include "modalcloser.h"

#include <cstdio>
#include <stdexcept>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ModalCloser closer;
    closer.onRecord = [](const ModalCloser::Record &box) {
        std::printf("title=%s\ntext=%s\nicon=%d\nbuttons=%lld\n", qUtf8Printable(box.title), qUtf8Printable(box.text),
            static_cast<int>(box.icon), static_cast<long long>(box.buttons.size()));
        std::fflush(stdout);
    };
    QTimer::singleShot(0, [] { runHandler(nullptr, [] { throw std::runtime_error("zkušební chyba"); }); });
    QApplication::exec();
    return 0;
}
