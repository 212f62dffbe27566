#include "jpeglayout.h"

#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace photo {
namespace {

class ByteStream {
public:
    explicit ByteStream(QIODevice &file)
        : file_(file)
    {
    }
    // The next byte, or -1 at the end of the file.
    int next()
    {
        if (position_ == buffer_.size() && !refill()) {
            return -1;
        }
        return static_cast<unsigned char>(buffer_[position_++]);
    }
    bool skip(qint64 count)
    {
        while (count > 0) {
            if (position_ == buffer_.size() && !refill()) {
                return false;
            }
            const qint64 step = std::min<qint64>(count, buffer_.size() - position_);
            position_ += step;
            count -= step;
        }
        return true;
    }
    // Skips to just past the next 0xFF byte; false at the end of the file.
    bool skipPastFF()
    {
        for (;;) {
            const char *start = buffer_.constData() + position_;
            const auto *found = static_cast<const char *>(std::memchr(start, 0xFF, buffer_.size() - position_));
            if (found != nullptr) {
                position_ += found - start + 1;
                return true;
            }
            position_ = buffer_.size();
            if (!refill()) {
                return false;
            }
        }
    }

private:
    bool refill()
    {
        buffer_ = file_.read(1 << 16);
        position_ = 0;
        return !buffer_.isEmpty();
    }
    QIODevice &file_;
    QByteArray buffer_;
    qsizetype position_ = 0;
};

JpegLayout scan(QIODevice &file)
{
    JpegLayout layout;
    if (!file.seek(0)) {
        return layout;
    }
    ByteStream bytes(file);
    if (bytes.next() != 0xFF || bytes.next() != 0xD8) {
        return layout;
    }
    for (;;) {
        // The next marker: in entropy-coded data 0xFF 0x00 is a data byte
        // and 0xFF 0xD0..0xD7 a restart marker; anything may be padded
        // with extra 0xFF bytes.
        if (!bytes.skipPastFF()) {
            return layout;
        }
        int marker = bytes.next();
        while (marker == 0xFF) {
            marker = bytes.next();
        }
        if (marker < 0) {
            return layout;
        }
        if (marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            continue;
        }
        if (marker == 0xD9) {
            layout.complete = true;
            return layout;
        }
        if (marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE) {
            layout.progressive = true;
        }
        const int high = bytes.next();
        const int low = bytes.next();
        if (low < 0 || (high << 8 | low) < 2 || !bytes.skip((high << 8 | low) - 2)) {
            return layout;
        }
    }
}

} // namespace

JpegLayout jpegLayout(QIODevice &file)
{
    const qint64 was = file.pos();
    const JpegLayout layout = scan(file);
    file.seek(was);
    return layout;
}

} // namespace photo
