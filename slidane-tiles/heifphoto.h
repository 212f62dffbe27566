#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

struct heif_context;
struct heif_image_handle;

// HEIC, HEIF and AVIF photos through libheif, turned upright as the file
// says and tagged with the file's colour space.
namespace photo {

class HeifPhoto {
public:
    // Whether the first bytes of a file may be those of a HEIF or AVIF file
    // that the installed libheif reads.
    static bool sniff(const QByteArray &head);
    // Loads libheif and its decoders, before the process may open no file.
    static void load();

    HeifPhoto() = default;
    HeifPhoto(const HeifPhoto &) = delete;
    HeifPhoto &operator=(const HeifPhoto &) = delete;
    ~HeifPhoto();

    // An empty result means the file's primary picture was found. `file`
    // is read as libheif asks, and must outlive this.
    QString open(QIODevice &file);
    QSize size() const; // upright
    // The whole upright picture, RGB32 or ARGB32 with its colour space;
    // a null picture and the reason on failure.
    QImage decode(QString &error) const;

private:
    heif_context *context_ = nullptr;
    heif_image_handle *handle_ = nullptr;
};

} // namespace photo
