#pragma once

class QIODevice;

namespace photo {

// What the markers of a JPEG file say. libjpeg is never asked for the rows
// below the square, so a file cut short there (a half-copied photo) is found
// here: the image data must run on to the end-of-image marker. Data after
// that marker (the video of a motion photo, a maker's trailer) is allowed.
struct JpegLayout {
    bool complete = false;
    bool progressive = false;
};

// Reads the markers of the JPEG file from its start, and leaves `file` where
// it was; a file that cannot be read, or is no JPEG, is incomplete.
JpegLayout jpegLayout(QIODevice &file);

} // namespace photo
