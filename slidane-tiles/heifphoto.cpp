#include "heifphoto.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>
#include <QPointF>

#include <libheif/heif.h>

#include <memory>

namespace photo {
namespace {

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

} // namespace

bool HeifPhoto::sniff(const QByteArray &head)
{
    // libheif's "maybe" counts too: a main brand of mif1 says only "a HEIF
    // file", with the codec's brand among the compatible ones. libheif then
    // says whether it decodes the picture.
    return head.size() >= 12
        && heif_check_filetype(reinterpret_cast<const uint8_t *>(head.constData()), static_cast<int>(head.size()))
        != heif_filetype_no;
}

HeifPhoto::~HeifPhoto()
{
    if (handle_ != nullptr) {
        heif_image_handle_release(handle_);
    }
    if (context_ != nullptr) {
        heif_context_free(context_);
    }
}

QString HeifPhoto::open(const QString &path)
{
    context_ = heif_context_alloc();
    if (context_ == nullptr) {
        return QCoreApplication::translate("photo", "too little memory");
    }
    heif_error error = heif_context_read_from_file(context_, QFile::encodeName(path).constData(), nullptr);
    if (error.code != heif_error_Ok) {
        return heifErrorText(error);
    }
    error = heif_context_get_primary_image_handle(context_, &handle_);
    if (error.code != heif_error_Ok) {
        return heifErrorText(error);
    }
    return {};
}

QSize HeifPhoto::size() const
{
    return {heif_image_handle_get_width(handle_), heif_image_handle_get_height(handle_)};
}

QImage HeifPhoto::decode(QString &error) const
{
    const bool alpha = heif_image_handle_has_alpha_channel(handle_) != 0;
    heif_image *decoded = nullptr;
    // The default options apply the file's rotation, mirroring and crop.
    const heif_error result = heif_decode_image(handle_, &decoded, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, nullptr);
    if (result.code != heif_error_Ok) {
        error = heifErrorText(result);
        return {};
    }
    const std::unique_ptr<heif_image, decltype(&heif_image_release)> image(decoded, heif_image_release);
    int stride = 0;
    const uint8_t *data = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (data == nullptr) {
        error = QCoreApplication::translate("photo", "the decoder gave no picture");
        return {};
    }
    const QImage::Format format = !alpha                         ? QImage::Format_RGB888
        : heif_image_handle_is_premultiplied_alpha(handle_) != 0 ? QImage::Format_RGBA8888_Premultiplied
                                                                 : QImage::Format_RGBA8888;
    const QImage wrapped(data, heif_image_get_width(image.get(), heif_channel_interleaved),
        heif_image_get_height(image.get(), heif_channel_interleaved), stride, format);
    // A deep copy, as the decoder's buffer goes with `image`.
    QImage picture = wrapped.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (picture.isNull()) {
        error = QCoreApplication::translate("photo", "too little memory");
        return {};
    }

    // The colour description of the file's boxes, else that of the coded
    // stream (HEVC carries nclx in its own headers).
    heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle_);
    QByteArray icc;
    heif_color_profile_nclx *nclx = nullptr;
    if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
        icc.resize(static_cast<qsizetype>(heif_image_handle_get_raw_color_profile_size(handle_)));
        heif_image_handle_get_raw_color_profile(handle_, icc.data());
    } else if (type == heif_color_profile_type_nclx) {
        heif_image_handle_get_nclx_color_profile(handle_, &nclx);
    } else {
        type = heif_image_get_color_profile_type(image.get());
        if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
            icc.resize(static_cast<qsizetype>(heif_image_get_raw_color_profile_size(image.get())));
            heif_image_get_raw_color_profile(image.get(), icc.data());
        } else if (type == heif_color_profile_type_nclx) {
            heif_image_get_nclx_color_profile(image.get(), &nclx);
        }
    }
    if (!icc.isEmpty()) {
        picture.setColorSpace(QColorSpace::fromIccProfile(icc));
    } else if (nclx != nullptr) {
        picture.setColorSpace(nclxSpace(*nclx));
    }
    heif_nclx_color_profile_free(nclx);
    return picture;
}

} // namespace photo
