#pragma once

#include <QIcon>
#include <QPixmap>

#include <array>

// The pictures the program carries inside itself, so that it runs with no
// file beside it. They are only ever read.
struct BuiltinPictures {
    // Member v is the picture of tile v; member 0 is the gap's.
    std::array<QPixmap, 16> ImageMain;
    QPixmap preview;
    QIcon icon;

    static BuiltinPictures load();
};
