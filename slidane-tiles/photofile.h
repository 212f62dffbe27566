#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// A photo opened once: the bytes that are hashed are the bytes that are
// decoded, and a file that changes in between is noticed.
namespace photo {

class PhotoFile {
public:
    // Opens `path` for reading; problem() says why it is no photo to open
    // (missing, a folder, a pipe, unreadable, empty).
    explicit PhotoFile(const QString &path);
    PhotoFile(const PhotoFile &) = delete;
    PhotoFile &operator=(const PhotoFile &) = delete;
    ~PhotoFile();

    const QString &path() const { return path_; }
    const QString &problem() const { return problem_; }
    int descriptor() const { return fd_; }
    qint64 size() const { return opened_.st_size; }
    // What the first bytes say the file is, by Qt's name of the format
    // ("heif" for the HEIF family); empty for anything else, which the
    // decoder judges by the content.
    const QByteArray &format() const { return format_; }

    // The SHA-256 of the whole content, or empty with the reason in `error`.
    QByteArray sha256(QString &error) const;
    // Why the file is not what was opened any more, or nothing.
    QString changed() const;

private:
    QString path_;
    QString problem_;
    int fd_ = -1;
    struct stat opened_ { };
    QByteArray format_;
};

} // namespace photo
