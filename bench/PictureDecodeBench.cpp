// Which decoders draw the show's pictures: the picture readers the show uses
// (PictureFrames: Qt's readers and their plugins, libheif, FFmpeg for
// animated PNG) beside FFmpeg's decoders, which the player would use had the
// pictures been played as clips. For each format, a 2048 x 1536 picture
// (a moving 640 x 480 one for GIF and animated WebP) is decoded to RGBA
// pixels, in a fresh process per format and path: the first decode (with
// loading the plugin or codec), the median of the next five, and the peak
// resident memory above the process's before the first. FFmpeg's time is
// to its first frame only; it leaves out what the player adds (its window,
// its threads, its open of the file as a stream).
// Run: build/bin/PictureDecodeBench

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <cstdio>
#include <stdexcept>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include "platform/media/PictureFrames.h"
#include "support/TestSupport.h"

#include "Measure.h"

namespace {

constexpr int kWarmRounds = 5;

double StatusMiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field)) return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

bool DecodeOurs(const QString& path) {
    platform::media::PictureFrames frames;
    return frames.Open(path) && !frames.First().isNull();
}

// The first frame through libavformat and libavcodec, made RGBA as a picture
// on screen needs it.
bool DecodeFfmpeg(const QString& path) {
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr) < 0) return false;
    bool ok = false;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const int stream = avformat_find_stream_info(format, nullptr) >= 0
                           ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0)
                           : -1;
    const AVCodec* decoder = stream >= 0 ? avcodec_find_decoder(format->streams[stream]->codecpar->codec_id) : nullptr;
    if (decoder && (codec = avcodec_alloc_context3(decoder)) &&
        avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) >= 0 && avcodec_open2(codec, decoder, nullptr) >= 0) {
        while (!ok && av_read_frame(format, packet) >= 0) {
            if (packet->stream_index == stream && avcodec_send_packet(codec, packet) >= 0)
                ok = avcodec_receive_frame(codec, frame) >= 0;
            av_packet_unref(packet);
        }
        if (!ok && avcodec_send_packet(codec, nullptr) >= 0) ok = avcodec_receive_frame(codec, frame) >= 0;
    }
    if (ok) {
        std::vector<uint8_t> pixels(size_t(frame->width) * frame->height * 4);
        SwsContext* scaler = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                                            frame->height, AV_PIX_FMT_RGBA, SWS_POINT, nullptr, nullptr, nullptr);
        uint8_t* planes[4] = {pixels.data()};
        const int strides[4] = {frame->width * 4};
        ok = scaler && sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides) > 0;
        sws_freeContext(scaler);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    return ok;
}

// In the child: "first-ms warm-ms peak-MiB", or "-" when the path cannot decode it.
int MeasureOne(const QString& path, bool ours) {
    av_log_set_level(AV_LOG_QUIET);
    const double before = StatusMiB("VmRSS:");
    QElapsedTimer clock;
    clock.start();
    const auto decode = [&] { return ours ? DecodeOurs(path) : DecodeFfmpeg(path); };
    if (!decode()) return std::puts("-"), 0;
    const double first = double(clock.nsecsElapsed()) / 1e6;
    std::vector<double> warm;
    for (int i = 0; i < kWarmRounds; ++i) {
        clock.restart();
        decode();
        warm.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("%.1f %.1f %.1f\n", first, Median(warm), StatusMiB("VmHWM:") - before);
    return 0;
}

void Make(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        throw std::runtime_error((tool + " failed: ").toStdString() + process.readAllStandardError().toStdString());
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "--one") return MeasureOne(args[2], args[3] == "ours");

    const testsupport::TempFolder folder;
    const QString photo = "testsrc2=size=2048x1536:rate=1", moving = "testsrc2=size=640x480:rate=10";
    const QStringList ff{"-loglevel", "error", "-y", "-f", "lavfi", "-i"};
    Make("ffmpeg", ff + QStringList{photo, "-frames:v", "1", "-q:v", "3", folder.file("photo.jpg")});
    for (const char* name : {"photo.png", "photo.webp", "photo.tiff"})
        Make("ffmpeg", ff + QStringList{photo, "-frames:v", "1", folder.file(name)});
    for (const char* name : {"photo.heic", "photo.avif"}) Make("convert", {folder.file("photo.png"), folder.file(name)});
    Make("ffmpeg", ff + QStringList{moving, "-t", "2", folder.file("moving.gif")});
    Make("ffmpeg", ff + QStringList{moving, "-t", "2", "-c:v", "libwebp_anim", folder.file("moving.webp")});
    Make("ffmpeg", ff + QStringList{moving, "-t", "2", "-f", "apng", folder.file("moving.png")});

    QTextStream out(stdout);
    out << "file          path     first-ms  warm-ms  peak-MiB\n";
    for (const char* name : {"photo.jpg", "photo.png", "photo.webp", "photo.tiff", "photo.heic", "photo.avif", "moving.gif",
                             "moving.webp", "moving.png"}) {
        for (const char* path : {"ours", "ffmpeg"}) {
            QProcess child;
            child.start(app.applicationFilePath(), {"--one", folder.file(name), path});
            child.waitForFinished(120000);
            const QStringList figures = QString::fromLatin1(child.readAllStandardOutput()).trimmed().split(' ');
            out << QStringLiteral("%1 %2").arg(name, -13).arg(path, -8);
            if (figures.size() == 3)
                out << QStringLiteral(" %1 %2 %3").arg(figures[0], 8).arg(figures[1], 8).arg(figures[2], 9);
            else
                out << "  cannot decode it";
            out << Qt::endl;
        }
    }
    return 0;
}
