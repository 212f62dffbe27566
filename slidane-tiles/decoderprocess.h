#pragma once

#include "photo.h"

// The parent's side of decoding a photo: every byte of it that a decoding
// library parses is parsed in a confined process of this program's own,
// which answers with the finished square or one line of error.
namespace photo {

class PhotoFile;

// The internal command that runs the decoder process:
//   slidane-tiles internal-decode NAME CPU-SECONDS FORMAT
// with the photo as its standard input, FORMAT as PhotoFile::format() says
// it or "-". It answers on its standard output
// with kSquareTag and the square's RGB32 pixels, row by row in the host's
// byte order, or with kErrorTag and one line of UTF-8 that starts with NAME.
constexpr const char *kDecoderCommand = "internal-decode";
constexpr char kSquareTag = 'S';
constexpr char kErrorTag = 'E';
constexpr qsizetype kErrorBytes = 16384; // a name of PATH_MAX, and room to say why
// Room for the largest picture decoded whole, converted once, and the
// decoders' threads; past it an allocation fails.
constexpr qint64 kDecoderAddressSpace = qint64{4} << 30;
#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer reserves terabytes of address space up front: its builds
// run the decoder without the limit.
constexpr bool kDecoderUnlimited = true;
#else
constexpr bool kDecoderUnlimited = false;
#endif

// The decoder's wall-clock limit in seconds: SLIDANE_TILES_DECODE_SECONDS
// where set to a whole number from 1 to 3600, otherwise 20.
int decoderSeconds();

// The square of `file`, decoded by `program` (this program by default);
// every way the decoder can end (an error, a crash, a limit, a time-out, an
// answer out of form) is one line naming the photo. The square of a file
// that changed while it was read is refused.
Square readSquare(const PhotoFile &file, const QString &program = QStringLiteral("/proc/self/exe"));

} // namespace photo
