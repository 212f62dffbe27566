#include "builtinpictures.h"

#include "bitmapreader.h"

#include <QResource>
#include <QString>

#include <stdexcept>

namespace {

// The built-in pictures are bitmaps by construction, read by the game's own
// bitmap reader: any QImageReader, even one told the format, first loads the
// metadata of every image plugin, which cost the start a few milliseconds.
QPixmap resourcePicture(const QString &name)
{
    const QResource resource(QStringLiteral(":/assets/") + name);
    if (!resource.isValid()) {
        throw std::runtime_error("built-in picture " + name.toStdString() + " is missing");
    }
    constexpr int kLargest = 66;
    const auto [picture, outcome] =
        bitmapreader::read(resource.uncompressedData(), kLargest, QSize(kLargest, kLargest));
    if (outcome != bitmapreader::Outcome::Read) {
        throw std::runtime_error("built-in picture " + name.toStdString() + " cannot be read");
    }
    return QPixmap::fromImage(picture);
}

} // namespace

BuiltinPictures BuiltinPictures::load()
{
    BuiltinPictures pictures;
    for (int v = 0; v < 16; ++v) {
        pictures.ImageMain[static_cast<std::size_t>(v)] =
            resourcePicture(QStringLiteral("tile_%1.bmp").arg(v, 2, 10, QLatin1Char('0')));
    }
    pictures.preview = resourcePicture(QStringLiteral("preview.bmp"));
    pictures.icon.addPixmap(resourcePicture(QStringLiteral("icon_16.bmp")));
    pictures.icon.addPixmap(resourcePicture(QStringLiteral("icon_32.bmp")));
    return pictures;
}
