// libFuzzer target: whatever bytes a photo holds, the JPEG marker scan ends
// without a crash, and a layout it calls complete or progressive has the
// markers that say so. The scan reads a path, so each input is written to
// an anonymous in-memory file and read back through /proc.
#include "jpeglayout.h"

#include <QByteArrayView>
#include <QString>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {

int memoryFile()
{
    static const int fd = ::memfd_create("jpeglayout-fuzz", 0);
    if (fd < 0) {
        std::abort();
    }
    return fd;
}

bool hasMarker(QByteArrayView bytes, std::initializer_list<char> codes)
{
    for (const char code : codes) {
        const char marker[] = {'\xFF', code};
        if (bytes.indexOf(QByteArrayView(marker, 2)) >= 0) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const int fd = memoryFile();
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    const photo::JpegLayout layout = photo::jpegLayout(path);

    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    if (layout.complete && (!bytes.startsWith("\xFF\xD8") || !hasMarker(bytes.sliced(2), {'\xD9'}))) {
        std::abort();
    }
    if (layout.progressive && !hasMarker(bytes, {'\xC2', '\xC6', '\xCA', '\xCE'})) {
        std::abort();
    }
    return 0;
}
