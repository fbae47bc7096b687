#include "platform/media/HeifPicture.h"

#include <libheif/heif.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace platform::media {

namespace {

constexpr qint64 kLargestFile = 256 << 20;  // bytes; a phone's photo is a few MiB

// Null when the file is larger than kLargestFile or cannot be read.
QByteArray ReadWhole(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size > kLargestFile) return {};
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(fd, bytes.data() + done, size_t(bytes.size() - done), done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return {};
        done += got;
    }
    return bytes;
}

template <typename T, void (*Free)(T*)>
struct Freer {
    void operator()(T* p) const { Free(p); }
};
using Context = std::unique_ptr<heif_context, Freer<heif_context, heif_context_free>>;
using Handle = std::unique_ptr<heif_image_handle, Freer<const heif_image_handle, heif_image_handle_release>>;
using Image = std::unique_ptr<heif_image, Freer<const heif_image, heif_image_release>>;

HeifResult Failed(const QString& reason) {
    HeifResult result;
    result.reason = reason;
    return result;
}

QString Text(const heif_error& error) { return QString::fromUtf8(error.message ? error.message : "unknown error"); }

}  // namespace

QString HeifFormat(const QByteArray& head) {
    const auto* data = reinterpret_cast<const uint8_t*>(head.constData());
    const heif_filetype_result type = heif_check_filetype(data, int(head.size()));
    if (type != heif_filetype_yes_supported && type != heif_filetype_yes_unsupported) return {};
    const char* mime = heif_get_file_mime_type(data, int(head.size()));
    return std::strcmp(mime, "image/avif") == 0 || std::strcmp(mime, "image/avif-sequence") == 0
               ? QStringLiteral("avif")
               : QStringLiteral("heif");
}

HeifResult ReadHeif(int fd, const QString& format, bool decode) {
    const bool av1 = format == QLatin1String("avif");
    if (!heif_have_decoder_for_format(av1 ? heif_compression_AV1 : heif_compression_HEVC))
        return Failed(QStringLiteral("no %1 decoder for libheif is installed").arg(av1 ? "AV1" : "HEVC"));
    const QByteArray file = ReadWhole(fd);
    if (file.isEmpty()) return Failed(QStringLiteral("larger than 256 MiB, or unreadable"));
    const Context context(heif_context_alloc());
    if (!context) return Failed(QStringLiteral("out of memory"));
    heif_error error = heif_context_read_from_memory_without_copy(context.get(), file.constData(), size_t(file.size()), nullptr);
    if (error.code != heif_error_Ok) return Failed(Text(error));
    heif_image_handle* primary = nullptr;
    error = heif_context_get_primary_image_handle(context.get(), &primary);
    const Handle handle(primary);
    if (error.code != heif_error_Ok) return Failed(Text(error));
    HeifResult result;
    result.size = QSize(heif_image_handle_get_width(primary), heif_image_handle_get_height(primary));
    if (result.size.isEmpty()) return Failed(QStringLiteral("a picture whose size cannot be read"));
    if (!decode) return result;

    heif_image* decoded = nullptr;
    error = heif_decode_image(primary, &decoded, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, nullptr);
    const Image image(decoded);
    if (error.code != heif_error_Ok) return Failed(Text(error));
    int stride = 0;
    const uint8_t* pixels = heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(decoded, heif_channel_interleaved);
    if (!pixels || width <= 0 || height <= 0) return Failed(QStringLiteral("the decoder gave no pixels"));
    // Copied: the pixels belong to the libheif image, freed on return.
    result.image = QImage(pixels, width, height, stride, QImage::Format_RGBA8888).copy();
    if (result.image.isNull()) return Failed(QStringLiteral("out of memory"));
    result.size = result.image.size();
    return result;
}

}  // namespace platform::media
