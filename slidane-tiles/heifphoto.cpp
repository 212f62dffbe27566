#include "heifphoto.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QIODevice>
#include <QPointF>
#include <QtEndian>

#include <libheif/heif.h>

#include <dlfcn.h>

#include <algorithm>
#include <memory>

namespace photo {
namespace {

// libheif is loaded only for the photos that need it: its decoders set up
// their tables as they are loaded (libde265 alone takes some milliseconds),
// which every other start of the program would pay for.
#define SLIDANE_HEIF_CALLS(call)                                                                                       \
    call(heif_check_filetype) call(heif_context_alloc) call(heif_context_free)                                         \
        call(heif_context_get_primary_image_handle) call(heif_context_read_from_reader) call(heif_decode_image)        \
            call(heif_image_get_chroma_format) call(heif_image_get_color_profile_type) call(heif_image_get_height)     \
                call(heif_image_get_nclx_color_profile) call(heif_image_get_plane_readonly)                            \
                    call(heif_image_get_raw_color_profile) call(heif_image_get_raw_color_profile_size)                 \
                        call(heif_image_get_width) call(heif_image_handle_get_color_profile_type)                      \
                            call(heif_image_handle_get_height) call(heif_image_handle_get_nclx_color_profile)          \
                                call(heif_image_handle_get_raw_color_profile)                                          \
                                    call(heif_image_handle_get_raw_color_profile_size)                                 \
                                        call(heif_image_handle_get_width) call(heif_image_handle_has_alpha_channel)    \
                                            call(heif_image_handle_is_premultiplied_alpha)                             \
                                                call(heif_image_handle_release) call(heif_image_release)               \
                                                    call(heif_init) call(heif_nclx_color_profile_free)

struct Libheif {
    bool loaded = true;
#define SLIDANE_HEIF_POINTER(name) decltype(&::name) name = nullptr;
    SLIDANE_HEIF_CALLS(SLIDANE_HEIF_POINTER)
#undef SLIDANE_HEIF_POINTER
};

// The library's calls, loaded by the first use; `loaded` is false when the
// library or one of them is missing.
const Libheif &heif()
{
    static const Libheif calls = [] {
        Libheif found;
        void *library = ::dlopen("libheif.so.1", RTLD_NOW | RTLD_LOCAL);
#define SLIDANE_HEIF_RESOLVE(name)                                                                                     \
    found.name = reinterpret_cast<decltype(&::name)>(library != nullptr ? ::dlsym(library, #name) : nullptr);          \
    found.loaded = found.loaded && found.name != nullptr;
        SLIDANE_HEIF_CALLS(SLIDANE_HEIF_RESOLVE)
#undef SLIDANE_HEIF_RESOLVE
        return found;
    }();
    return calls;
}

// The nclx colour description of AVIF and of many Android HEIC photos.
QColorSpace nclxSpace(const heif_color_profile_nclx &nclx)
{
    QColorSpace::TransferFunction transfer = QColorSpace::TransferFunction::SRgb;
    float gamma = 0.0f;
    switch (nclx.transfer_characteristics) {
    case heif_transfer_characteristic_linear:
        transfer = QColorSpace::TransferFunction::Linear;
        break;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_M:
        transfer = QColorSpace::TransferFunction::Gamma;
        gamma = 2.2f;
        break;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G:
        transfer = QColorSpace::TransferFunction::Gamma;
        gamma = 2.8f;
        break;
    default:
        // sRGB itself, and the video curves (BT.709, BT.601, BT.2020) that
        // phones write for pictures meant to look as sRGB does; a display
        // curve for HDR (PQ, HLG) is beyond an 8-bit tile.
        break;
    }
    if (nclx.color_primaries == heif_color_primaries_unspecified || nclx.color_primary_white_x <= 0.0f) {
        return {QColorSpace::Primaries::SRgb, transfer, gamma};
    }
    return {QPointF(nclx.color_primary_white_x, nclx.color_primary_white_y),
        QPointF(nclx.color_primary_red_x, nclx.color_primary_red_y),
        QPointF(nclx.color_primary_green_x, nclx.color_primary_green_y),
        QPointF(nclx.color_primary_blue_x, nclx.color_primary_blue_y), transfer, gamma};
}

// libheif's own messages name boxes and brands; these say what they mean
// for the photo.
QString heifErrorText(const heif_error &error)
{
    switch (error.code) {
    case heif_error_Input_does_not_exist:
        return QCoreApplication::translate("photo", "the file cannot be opened");
    case heif_error_Unsupported_filetype:
        return QCoreApplication::translate(
            "photo", "it is a media file of the HEIF family, but holds no kind of picture slidane-tiles reads");
    case heif_error_Unsupported_feature:
        return error.subcode == heif_suberror_Unsupported_codec
            ? QCoreApplication::translate("photo", "its picture is compressed in a way no installed decoder reads")
            : QCoreApplication::translate("photo", "it uses a HEIF feature this system's libheif does not read");
    case heif_error_Memory_allocation_error:
        return error.subcode == heif_suberror_Security_limit_exceeded
            ? QCoreApplication::translate("photo", "it is larger than libheif's safety limits allow")
            : QCoreApplication::translate("photo", "too little memory");
    case heif_error_Invalid_input:
        if (error.subcode == heif_suberror_No_meta_box || error.subcode == heif_suberror_No_pitm_box
            || error.subcode == heif_suberror_No_or_invalid_primary_item) {
            return QCoreApplication::translate("photo", "it holds no still picture, only a video or a sequence");
        }
        return QCoreApplication::translate("photo", "the file is damaged or cut short");
    case heif_error_Decoder_plugin_error:
        return QCoreApplication::translate("photo", "the picture data are damaged");
    default:
        return QCoreApplication::translate("photo", "libheif cannot read it (%1)")
            .arg(QString::fromUtf8(error.message).simplified());
    }
}

// Whether every pixel is grey, as both a monochrome picture and a colour
// one of grey things decode.
bool allGrey(const QImage &picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (qRed(line[x]) != qGreen(line[x]) || qGreen(line[x]) != qBlue(line[x])) {
                return false;
            }
        }
    }
    return true;
}

// libheif 1.15 gives a monochrome picture's samples as they are coded, while
// it expands a colour picture's video range (16 to 235) to the full 0 to
// 255. Only the decoder's own output tells the two apart.
bool codedMonochrome(heif_image_handle *handle)
{
    heif_image *native = nullptr;
    if (heif().heif_decode_image(handle, &native, heif_colorspace_undefined, heif_chroma_undefined, nullptr).code
        != heif_error_Ok) {
        return false;
    }
    const bool monochrome = heif().heif_image_get_chroma_format(native) == heif_chroma_monochrome;
    heif().heif_image_release(native);
    return monochrome;
}

// The range the file's boxes give, else the coded stream's.
bool limitedRange(const heif_image_handle *handle, const heif_image *image)
{
    heif_color_profile_nclx *nclx = nullptr;
    if (heif().heif_image_handle_get_nclx_color_profile(handle, &nclx).code != heif_error_Ok) {
        heif().heif_image_get_nclx_color_profile(image, &nclx);
    }
    const bool limited = nclx != nullptr && nclx->full_range_flag == 0;
    heif().heif_nclx_color_profile_free(nclx);
    return limited;
}

void expandVideoRange(QImage &picture)
{
    const auto full = [](int value) { return std::clamp((value - 16) * 255 * 2 / 219 + 1, 0, 511) / 2; };
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            line[x] = qRgba(full(qRed(line[x])), full(qGreen(line[x])), full(qBlue(line[x])), qAlpha(line[x]));
        }
    }
}

constexpr qsizetype kFtypBytes = 256;

// Whether the file type box names a brand of animations or image
// sequences (AVIF's avis, HEIF's msf1, HEVC's hevs and hevm): libheif 1.15
// reads none that names no still-picture brand too.
bool namesSequence(const QByteArray &head)
{
    if (head.size() < 16 || head.mid(4, 4) != "ftyp") {
        return false;
    }
    const qsizetype size = std::min<qsizetype>(head.size(), qFromBigEndian<quint32>(head.constData()));
    for (qsizetype at = 8; at + 4 <= size; at += at == 8 ? 8 : 4) { // the main brand, then the compatible ones
        const QByteArray brand = head.mid(at, 4);
        if (brand == "avis" || brand == "msf1" || brand == "hevs" || brand == "hevm") {
            return true;
        }
    }
    return false;
}

// libheif reads the photo through these, from the decoder's descriptor.
const heif_reader kReader{
    1,
    [](void *file) -> int64_t { return static_cast<QIODevice *>(file)->pos(); },
    [](void *data, size_t size, void *file) -> int {
        const auto wanted = static_cast<qint64>(size);
        return static_cast<QIODevice *>(file)->read(static_cast<char *>(data), wanted) == wanted ? 0 : -1;
    },
    [](int64_t position, void *file) -> int { return static_cast<QIODevice *>(file)->seek(position) ? 0 : -1; },
    [](int64_t target, void *file) {
        return target <= static_cast<QIODevice *>(file)->size() ? heif_reader_grow_status_size_reached
                                                                : heif_reader_grow_status_size_beyond_eof;
    },
};

} // namespace

void HeifPhoto::load()
{
    if (heif().loaded) {
        heif().heif_init(nullptr);
        heif().heif_context_free(heif().heif_context_alloc());
    }
}

bool HeifPhoto::sniff(const QByteArray &head)
{
    // libheif's "maybe" counts too: a main brand of mif1 says only "a HEIF
    // file", with the codec's brand among the compatible ones. libheif then
    // says whether it decodes the picture.
    return head.size() >= 12 && heif().loaded
        && heif().heif_check_filetype(
               reinterpret_cast<const uint8_t *>(head.constData()), static_cast<int>(head.size()))
        != heif_filetype_no;
}

HeifPhoto::~HeifPhoto()
{
    if (handle_ != nullptr) {
        heif().heif_image_handle_release(handle_);
    }
    if (context_ != nullptr) {
        heif().heif_context_free(context_);
    }
}

QString HeifPhoto::open(QIODevice &file)
{
    context_ = heif().heif_context_alloc();
    if (context_ == nullptr) {
        return QCoreApplication::translate("photo", "too little memory");
    }
    heif_error error = heif().heif_context_read_from_reader(context_, &kReader, &file, nullptr);
    if (error.code == heif_error_Unsupported_filetype && file.seek(0) && namesSequence(file.peek(kFtypBytes))) {
        return QCoreApplication::translate("photo", "it is an animation or a sequence of pictures, not a still photo");
    }
    if (error.code != heif_error_Ok) {
        return heifErrorText(error);
    }
    error = heif().heif_context_get_primary_image_handle(context_, &handle_);
    if (error.code != heif_error_Ok) {
        return heifErrorText(error);
    }
    return {};
}

QSize HeifPhoto::size() const
{
    return {heif().heif_image_handle_get_width(handle_), heif().heif_image_handle_get_height(handle_)};
}

QImage HeifPhoto::decode(QString &error) const
{
    const bool alpha = heif().heif_image_handle_has_alpha_channel(handle_) != 0;
    heif_image *decoded = nullptr;
    // The default options apply the file's rotation, mirroring and crop.
    const heif_error result = heif().heif_decode_image(handle_, &decoded, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, nullptr);
    if (result.code != heif_error_Ok) {
        error = heifErrorText(result);
        return {};
    }
    const std::unique_ptr<heif_image, decltype(heif().heif_image_release)> image(decoded, heif().heif_image_release);
    int stride = 0;
    const uint8_t *data = heif().heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (data == nullptr) {
        error = QCoreApplication::translate("photo", "the decoder gave no picture");
        return {};
    }
    const QImage::Format format = !alpha                                ? QImage::Format_RGB888
        : heif().heif_image_handle_is_premultiplied_alpha(handle_) != 0 ? QImage::Format_RGBA8888_Premultiplied
                                                                        : QImage::Format_RGBA8888;
    const QImage wrapped(data, heif().heif_image_get_width(image.get(), heif_channel_interleaved),
        heif().heif_image_get_height(image.get(), heif_channel_interleaved), stride, format);
    // A deep copy, as the decoder's buffer goes with `image`.
    QImage picture = wrapped.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (picture.isNull()) {
        error = QCoreApplication::translate("photo", "too little memory");
        return {};
    }

    // The colour description of the file's boxes, else that of the coded
    // stream (HEVC carries nclx in its own headers).
    heif_color_profile_type type = heif().heif_image_handle_get_color_profile_type(handle_);
    QByteArray icc;
    heif_color_profile_nclx *nclx = nullptr;
    if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
        icc.resize(static_cast<qsizetype>(heif().heif_image_handle_get_raw_color_profile_size(handle_)));
        heif().heif_image_handle_get_raw_color_profile(handle_, icc.data());
    } else if (type == heif_color_profile_type_nclx) {
        heif().heif_image_handle_get_nclx_color_profile(handle_, &nclx);
    } else {
        type = heif().heif_image_get_color_profile_type(image.get());
        if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
            icc.resize(static_cast<qsizetype>(heif().heif_image_get_raw_color_profile_size(image.get())));
            heif().heif_image_get_raw_color_profile(image.get(), icc.data());
        } else if (type == heif_color_profile_type_nclx) {
            heif().heif_image_get_nclx_color_profile(image.get(), &nclx);
        }
    }
    if (limitedRange(handle_, image.get()) && allGrey(picture) && codedMonochrome(handle_)) {
        expandVideoRange(picture);
    }
    if (!icc.isEmpty()) {
        picture.setColorSpace(QColorSpace::fromIccProfile(icc));
    } else if (nclx != nullptr) {
        picture.setColorSpace(nclxSpace(*nclx));
    }
    heif().heif_nclx_color_profile_free(nclx);
    return picture;
}

} // namespace photo
