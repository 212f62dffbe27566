#include "decodercommand.h"

#include "confinement.h"
#include "decoderprocess.h"
#include "photoside.h"
#include "translations.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeAll(const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Ends without running destructors or exit handlers, none of which has
// anything to do that the confinement would allow.
[[noreturn]] void answer(const photo::Square &square)
{
    if (square.picture.isNull()) {
        const QByteArray line =
            photo::kErrorTag + square.error.simplified().left(photo::kErrorBytes / 4).toUtf8() + '\n';
        ::_exit(writeAll(line.constData(), line.size()) ? 1 : 2);
    }
    bool written = writeAll(&photo::kSquareTag, 1);
    for (int y = 0; y < tileset::kPhotoSide && written; ++y) {
        written = writeAll(
            reinterpret_cast<const char *>(square.picture.constScanLine(y)), qsizetype{tileset::kPhotoSide} * 4);
    }
    ::_exit(written ? 0 : 2);
}

} // namespace

int runDecoder(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    loadTranslations(app);
    if (argc != 5) {
        answer(
            {{}, QStringLiteral("?: ") + QCoreApplication::translate("decoder", "wrong use of the decoder process")});
    }
    const QString name = QFile::decodeName(argv[2]);
    struct stat input { };
    if (::fstat(STDIN_FILENO, &input) != 0 || !S_ISREG(input.st_mode)) {
        answer({{},
            name + QStringLiteral(": ") + QCoreApplication::translate("decoder", "the decoder's input is not a file")});
    }
    const QByteArray format = argv[4] == QByteArray("-") ? QByteArray() : QByteArray(argv[4]);
    photo::loadDecoders(format);
    const int cpuSeconds = std::atoi(argv[3]);
    const qint64 addressSpace = photo::kDecoderUnlimited ? 0 : photo::kDecoderAddressSpace;
    if (const QString error = confinement::confine({cpuSeconds > 0 ? cpuSeconds : 60, addressSpace});
        !error.isEmpty()) {
        answer({{}, QCoreApplication::translate("decoder", "%1: the photo is not decoded, as %2").arg(name, error)});
    }
    QFile photo;
    // The descriptor shares its offset with the parent's: start at the top.
    if (!photo.open(STDIN_FILENO, QIODevice::ReadOnly, QFileDevice::DontCloseHandle) || !photo.seek(0)) {
        answer({{}, name + QStringLiteral(": ") + photo.errorString()});
    }
    answer(photo::decodeSquare(photo, name, format));
}
