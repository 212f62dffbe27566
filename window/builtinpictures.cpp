#include "builtinpictures.h"

#include <QString>

#include <stdexcept>

namespace {

QPixmap resourcePicture(const QString &name)
{
    QPixmap picture(QStringLiteral(":/assets/") + name);
    if (picture.isNull()) {
        throw std::runtime_error("built-in picture " + name.toStdString() + " is missing");
    }
    return picture;
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
