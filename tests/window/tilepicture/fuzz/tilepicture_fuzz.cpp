// libFuzzer target: any bytes given as a tile file either decode to what a
// cell shows of a picture or are refused, never a crash or a leak.
#include "tilepicture.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

// Qt's decoders warn about much of what the fuzzer feeds them; the warnings
// are expected and would drown the fuzzer's own output.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QImage image = tilepicture::decode(bytes).picture;
    if (!image.isNull() && (image.width() > tilepicture::kShownSide || image.height() > tilepicture::kShownSide)) {
        std::abort();
    }
    return 0;
}
