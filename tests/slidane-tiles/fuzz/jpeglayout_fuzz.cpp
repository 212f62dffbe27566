// libFuzzer target: whatever bytes a photo holds, the JPEG marker scan ends
// without a crash, and a layout it calls complete or progressive has the
// markers that say so.
#include "jpeglayout.h"

#include <QBuffer>
#include <QByteArrayView>

#include <cstdint>
#include <cstdlib>

namespace {

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
    QByteArray copy(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QBuffer file(&copy);
    file.open(QIODevice::ReadOnly);
    const photo::JpegLayout layout = photo::jpegLayout(file);

    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    if (layout.complete && (!bytes.startsWith("\xFF\xD8") || !hasMarker(bytes.sliced(2), {'\xD9'}))) {
        std::abort();
    }
    if (layout.progressive && !hasMarker(bytes, {'\xC2', '\xC6', '\xCA', '\xCE'})) {
        std::abort();
    }
    return 0;
}
