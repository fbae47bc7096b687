#include "platform/media/AnimatedPng.h"

#include <QFile>
#include <QtEndian>
#include <cstring>

#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libswscale/swscale.h>
}

namespace platform::media {

namespace {

constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr int kLongestChunkWalk = 64;  // chunks before the pixels; a real file has a handful

QString AvText(int err) {
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, buffer, sizeof buffer);
    return QString::fromUtf8(buffer);
}

}  // namespace

quint32 PngFrameCount(int fd) {
    char signature[8];
    if (::pread(fd, signature, sizeof signature, 0) != ssize_t(sizeof signature) ||
        std::memcmp(signature, kPngSignature, sizeof signature) != 0)
        return 0;
    // The animation control chunk comes before the first pixel data.
    off_t at = sizeof signature;
    for (int i = 0; i < kLongestChunkWalk; ++i) {
        uchar head[16];  // length, type, and the first 8 bytes of the data
        if (::pread(fd, head, sizeof head, at) != ssize_t(sizeof head)) return 0;
        const quint32 length = qFromBigEndian<quint32>(head);
        if (std::memcmp(head + 4, "acTL", 4) == 0) return length >= 8 ? qFromBigEndian<quint32>(head + 8) : 0;
        if (std::memcmp(head + 4, "IDAT", 4) == 0) return 0;
        at += off_t(length) + 12;  // length, type, data, check sum
    }
    return 0;
}

struct ApngDecoder::State {
    ~State() {
        sws_freeContext(scaler);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scaler = nullptr;
    int stream = -1;
};

ApngDecoder::ApngDecoder() = default;
ApngDecoder::~ApngDecoder() = default;

bool ApngDecoder::Open(const QString& path) {
    state_ = std::make_unique<State>();
    State& s = *state_;
    // "file:" so that a name with a colon is never taken for another protocol.
    const QByteArray url = "file:" + QFile::encodeName(path);
    int err = avformat_open_input(&s.format, url.constData(), av_find_input_format("apng"), nullptr);
    if (err >= 0) err = avformat_find_stream_info(s.format, nullptr);
    if (err >= 0) err = s.stream = av_find_best_stream(s.format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const AVCodec* decoder = err >= 0 ? avcodec_find_decoder(s.format->streams[s.stream]->codecpar->codec_id) : nullptr;
    if (err >= 0 && !decoder) err = AVERROR_DECODER_NOT_FOUND;
    if (err >= 0 && !(s.codec = avcodec_alloc_context3(decoder))) err = AVERROR(ENOMEM);
    if (err >= 0) err = avcodec_parameters_to_context(s.codec, s.format->streams[s.stream]->codecpar);
    if (err >= 0) err = avcodec_open2(s.codec, decoder, nullptr);
    if (err >= 0 && (!(s.frame = av_frame_alloc()) || !(s.packet = av_packet_alloc()))) err = AVERROR(ENOMEM);
    if (err < 0) {
        reason_ = QStringLiteral("animated PNG: ") + AvText(err);
        state_.reset();
        return false;
    }
    return true;
}

QImage ApngDecoder::Next(int* delayMs) {
    if (!state_) return {};
    State& s = *state_;
    for (;;) {
        int err = avcodec_receive_frame(s.codec, s.frame);
        if (err == 0) {
            const AVRational timeBase = s.format->streams[s.stream]->time_base;
            *delayMs = int(av_rescale_q(s.frame->pkt_duration, timeBase, AVRational{1, 1000}));
            QImage image(s.frame->width, s.frame->height, QImage::Format_RGBA8888);
            s.scaler = sws_getCachedContext(s.scaler, s.frame->width, s.frame->height, AVPixelFormat(s.frame->format),
                                            image.width(), image.height(), AV_PIX_FMT_RGBA, SWS_POINT, nullptr, nullptr,
                                            nullptr);
            if (image.isNull() || !s.scaler) {
                reason_ = QStringLiteral("animated PNG: out of memory");
                return {};
            }
            uint8_t* planes[4] = {image.bits()};
            const int strides[4] = {int(image.bytesPerLine())};
            sws_scale(s.scaler, s.frame->data, s.frame->linesize, 0, s.frame->height, planes, strides);
            av_frame_unref(s.frame);
            return image;
        }
        if (err == AVERROR_EOF) return {};
        if (err != AVERROR(EAGAIN)) {
            reason_ = QStringLiteral("animated PNG: ") + AvText(err);
            return {};
        }
        err = av_read_frame(s.format, s.packet);
        if (err < 0) {
            avcodec_send_packet(s.codec, nullptr);  // drain what is left
            continue;
        }
        if (s.packet->stream_index == s.stream) err = avcodec_send_packet(s.codec, s.packet);
        av_packet_unref(s.packet);
        if (err < 0 && err != AVERROR(EAGAIN)) {
            reason_ = QStringLiteral("animated PNG: ") + AvText(err);
            return {};
        }
    }
}

}  // namespace platform::media
