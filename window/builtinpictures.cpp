#include "builtinpictures.h"

#include <QImageReader>
#include <QString>

#include <stdexcept>

namespace {

// The built-in pictures are bitmaps by construction. Naming the format and
// turning detection off takes Qt's own bitmap reader straight away; with
// detection on, every read first loads and asks each image plugin.
QPixmap resourcePicture(const QString &name)
{
    QImageReader reader(QStringLiteral(":/assets/") + name, "bmp");
    reader.setAutoDetectImageFormat(false);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        throw std::runtime_error(
            "built-in picture " + name.toStdString() + " cannot be read: " + reader.errorString().toStdString());
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
