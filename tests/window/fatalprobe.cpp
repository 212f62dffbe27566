// Raises an error inside a handler, as a fault in the game would, and lets
// the program's own error path report it and end the process. Prints what
// the error box showed, for the test that runs this probe.
//   fatal_probe           a std::exception
//   fatal_probe other     an exception of no standard type
//   fatal_probe nobox     a std::exception, after which no allocation succeeds
#include "fatalerror.h"
#include "modalcloser.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

namespace {
bool allocationsFail = false;

void *allocate(std::size_t size)
{
    void *block = allocationsFail ? nullptr : std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}
} // namespace

// Every form of new and delete, so that the sanitizers' own never pairs with these.
void *operator new(std::size_t size)
{
    return allocate(size);
}
void *operator new[](std::size_t size)
{
    return allocate(size);
}
void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    return allocationsFail ? nullptr : std::malloc(size == 0 ? 1 : size);
}
void *operator new[](std::size_t size, const std::nothrow_t &tag) noexcept
{
    return operator new(size, tag);
}
void operator delete(void *block) noexcept
{
    std::free(block);
}
void operator delete[](void *block) noexcept
{
    std::free(block);
}
void operator delete(void *block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete[](void *block, std::size_t) noexcept
{
    std::free(block);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    ModalCloser closer;
    closer.onRecord = [](const ModalCloser::Record &box) {
        std::printf("title=%s\ntext=%s\nicon=%d\nbuttons=%lld\n", qUtf8Printable(box.title), qUtf8Printable(box.text),
            static_cast<int>(box.icon), static_cast<long long>(box.buttons.size()));
        std::fflush(stdout);
    };
    QTimer::singleShot(0, [mode] {
        runHandler(nullptr, [mode] {
            if (mode == "other") {
                throw 42;
            }
            const std::runtime_error error("zkušební chyba");
            allocationsFail = mode == "nobox";
            throw error;
        });
    });
    QApplication::exec();
    return 0;
}
