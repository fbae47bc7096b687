#include "platform/media/MediaProbe.h"

#include <QByteArray>
#include <QFile>
#include <QStringConverter>
#include <QStringDecoder>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

#include "platform/media/PictureHeader.h"
#include "platform/system/FileProblem.h"

namespace platform::media {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeLimit = std::chrono::seconds(10);
constexpr int kIoBufferBytes = 32 * 1024;
// When the header lacks the length or size: enough for an MPEG-TS's first
// frames, little enough that a folder of them stays quick.
constexpr int64_t kAnalyseBytes = 1 << 20;
constexpr int64_t kAnalyseMicroseconds = 2 * AV_TIME_BASE;
constexpr qint64 kSniffBytes = 1024;

MediaFacts Refused(const QString& reason) {
    MediaFacts facts;
    facts.reason = reason;
    return facts;
}

QString ErrnoText(int err) {
    char buffer[256];
    return QString::fromLocal8Bit(strerror_r(err, buffer, sizeof buffer));  // GNU: returns the text
}

QString AvErrorText(int err) {
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, buffer, sizeof buffer);
    return QString::fromUtf8(buffer);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// ---- Pages ----

bool IsPage(const QByteArray& head) {
    // A byte order mark names the encoding (and is dropped); without one,
    // the markup's ASCII reads the same in any 8-bit encoding.
    QString text;
    if (const auto encoding = QStringConverter::encodingForData(head)) {
        text = QStringDecoder(*encoding).decode(head);
    } else {
        text = QString::fromLatin1(head);
    }
    qsizetype at = 0;
    while (at < text.size() && text.at(at).isSpace()) ++at;
    const QStringView rest = QStringView(text).mid(at);
    for (const char* tag : {"<!doctype html", "<html", "<head", "<body"}) {
        const QLatin1StringView start(tag);
        if (!rest.startsWith(start, Qt::CaseInsensitive)) continue;
        // "<header" or "<bodyguard" is not the tag.
        if (rest.size() == start.size()) return true;
        const QChar next = rest.at(start.size());
        if (next.isSpace() || next == u'>' || next == u'/') return true;
    }
    return false;
}

// ---- Pictures ----

// A picture is only what the show can draw; a known picture format it
// cannot draw is refused with the reason, never passed on as a clip.
bool ReadPicture(int fd, const QByteArray& head, MediaFacts& facts) {
    const PictureHeader header = ReadPictureHeader(fd, head);
    if (header.format.isEmpty()) return false;
    facts.format = header.format;
    if (!header.Drawable()) {
        facts.picture = true;
        facts.reason = header.reason;
        return true;
    }
    facts.kind = MediaKind::Picture;
    facts.width = header.size.width();
    facts.height = header.size.height();
    return true;
}

// ---- Video and sound through libavformat ----

void SilenceFfmpeg() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// The open file as libavformat reads it: the descriptor, never a path, so
// nothing is reopened (and no FIFO put in its place is waited on).
struct Source {
    int fd = -1;
    Clock::time_point deadline;
    bool timedOut = false;

    bool Expired() {
        if (Clock::now() > deadline) timedOut = true;
        return timedOut;
    }
};

int ReadSource(void* opaque, uint8_t* buffer, int size) {
    auto* source = static_cast<Source*>(opaque);
    if (source->Expired()) return AVERROR_EXIT;
    for (;;) {
        const ssize_t got = ::read(source->fd, buffer, size_t(size));
        if (got > 0) return int(got);
        if (got == 0) return AVERROR_EOF;
        if (errno != EINTR) return AVERROR(errno);
    }
}

int64_t SeekSource(void* opaque, int64_t offset, int whence) {
    auto* source = static_cast<Source*>(opaque);
    if (whence & AVSEEK_SIZE) {
        struct stat info {};
        return ::fstat(source->fd, &info) == 0 ? int64_t(info.st_size) : AVERROR(errno);
    }
    const off_t at = ::lseek(source->fd, offset, whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : int64_t(at);
}

int Interrupted(void* opaque) { return static_cast<Source*>(opaque)->Expired() ? 1 : 0; }

// Playlists and reference files name other files or addresses; probing one
// file opens only that file.
int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) { return AVERROR(EPERM); }

class Demuxer {
public:
    ~Demuxer() {
        avformat_close_input(&context);  // leaves a caller's I/O context alone
        if (io) {
            av_freep(&io->buffer);  // probing may have replaced the buffer given
            avio_context_free(&io);
        }
    }
    AVFormatContext* context = nullptr;
    AVIOContext* io = nullptr;
};

struct Streams {
    const AVStream* video = nullptr;  // the first one that is not cover art
    bool sound = false;
};

Streams FindStreams(const AVFormatContext* context) {
    Streams found;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        const AVMediaType type = stream->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC) && !found.video)
            found.video = stream;
        if (type == AVMEDIA_TYPE_AUDIO) found.sound = true;
    }
    return found;
}

double Seconds(const AVFormatContext* context) {
    if (context->duration > 0) return double(context->duration) / AV_TIME_BASE;
    double longest = 0;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        if (stream->duration > 0 && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            longest = std::max(longest, double(stream->duration) * av_q2d(stream->time_base));
    }
    return longest;
}

double FramesPerSecond(const AVStream* stream) {
    for (const AVRational rate : {stream->avg_frame_rate, stream->r_frame_rate}) {
        if (rate.num > 0 && rate.den > 0) return av_q2d(rate);
    }
    return 0;
}

// libavformat's demuxers of single pictures ("png_pipe", "jpeg_pipe",
// "webp_pipe"...): a picture, not a one-frame video. (Its other one,
// "image2", goes by the file name, and none is given.)
bool IsPictureDemuxer(const QString& name) { return name.endsWith(QLatin1String("_pipe")); }

bool HasSize(const AVStream* stream) { return stream->codecpar->width > 0 && stream->codecpar->height > 0; }

// What a failure of libavformat is told as: the time limit when that ended it.
QString Failure(const Source& source, const QString& reason) {
    return source.timedOut ? QStringLiteral("took longer than %1 s to read").arg(kTimeLimit.count()) : reason;
}

// A demuxer that reads through source (which must outlive it); the reason
// when it cannot be made.
QString Attach(Demuxer& demuxer, Source& source) {
    demuxer.context = avformat_alloc_context();
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
    if (buffer) demuxer.io = avio_alloc_context(buffer, kIoBufferBytes, 0, &source, ReadSource, nullptr, SeekSource);
    if (!demuxer.io) av_free(buffer);
    if (!demuxer.context || !demuxer.io) return AvErrorText(AVERROR(ENOMEM));
    AVFormatContext* context = demuxer.context;
    context->pb = demuxer.io;
    context->flags |= AVFMT_FLAG_CUSTOM_IO;  // else closing a context that never opened would free it
    context->io_open = RefuseNestedOpen;
    context->interrupt_callback = {Interrupted, &source};
    return {};
}

// No name: the content alone decides the format, not an extension. Probed
// apart from opening, so that a broken file of a known format says which.
QString OpenInput(Demuxer& demuxer, const Source& source) {
    const AVInputFormat* format = nullptr;
    if (const int err = av_probe_input_buffer2(demuxer.io, &format, "", nullptr, 0, 0); err < 0)
        return Failure(source, err == AVERROR_INVALIDDATA ? QStringLiteral("unrecognised content") : AvErrorText(err));
    if (const int err = avformat_open_input(&demuxer.context, "", format, nullptr); err < 0)
        return Failure(source, QStringLiteral("%1: %2").arg(QLatin1String(format->name), AvErrorText(err)));
    return {};
}

// Streams that only turn up in the packets (MPEG-TS, MPEG-PS), a raw
// stream's size, a length the header does not give: read a little, and
// find the streams again. The reason when that fails.
QString CompleteStreams(AVFormatContext* context, const Source& source, bool picture, Streams& streams) {
    const bool unknownStreams = (context->ctx_flags & AVFMTCTX_NOHEADER) || (!streams.video && !streams.sound);
    const bool unknownSize = streams.video && !HasSize(streams.video);
    const bool unknownLength = !picture && Seconds(context) <= 0;
    if (!unknownStreams && !unknownSize && !unknownLength) return {};
    context->probesize = kAnalyseBytes;
    context->max_analyze_duration = kAnalyseMicroseconds;
    const int err = avformat_find_stream_info(context, nullptr);
    if (source.timedOut || (err < 0 && context->nb_streams == 0)) return Failure(source, AvErrorText(err));
    streams = FindStreams(context);
    return {};
}

// The facts of an open clip of format, from its streams.
MediaFacts Describe(const AVFormatContext* context, const Streams& streams, const QString& format, bool picture) {
    MediaFacts facts;
    facts.format = format;
    if (!streams.video && !streams.sound) {
        facts.reason = QStringLiteral("neither video nor sound in it");
        return facts;
    }
    if (picture && streams.video && !streams.sound) {
        // Only the player's decoders know it: the show's picture readers
        // do not (a missing Qt image-format plugin, JPEG XL...).
        facts.format.chop(5);  // "webp_pipe": "webp"
        facts.picture = true;
        facts.reason = QStringLiteral("no picture reader for it is installed");
        return facts;
    }
    if (streams.video) {
        facts.width = streams.video->codecpar->width;
        facts.height = streams.video->codecpar->height;
        facts.framesPerSecond = FramesPerSecond(streams.video);
    }
    facts.kind = streams.video ? MediaKind::Video : MediaKind::Sound;
    facts.seconds = Seconds(context);
    return facts;
}

// Attach, open, complete the streams, describe.
MediaFacts ReadClip(int fd) {
    SilenceFfmpeg();
    Source source{fd, Clock::now() + kTimeLimit};
    Demuxer demuxer;
    if (const QString why = Attach(demuxer, source); !why.isEmpty()) return Refused(why);
    if (const QString why = OpenInput(demuxer, source); !why.isEmpty()) return Refused(why);
    const QString format = QString::fromLatin1(demuxer.context->iformat->name);
    const bool picture = IsPictureDemuxer(format);
    Streams streams = FindStreams(demuxer.context);
    if (const QString why = CompleteStreams(demuxer.context, source, picture, streams); !why.isEmpty())
        return Refused(why);
    return Describe(demuxer.context, streams, format, picture);
}

}  // namespace

MediaFacts ProbeMedia(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || name.contains('\0')) return Refused(QStringLiteral("not a file name"));

    // stat before open: opening a FIFO would wait for a writer, a device
    // could do anything.
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) return Refused(ErrnoText(errno));
    if (!S_ISREG(info.st_mode)) return Refused(NotRegularReason(info.st_mode));
    if (info.st_size == 0) return Refused(QStringLiteral("empty file"));

    // Non-blocking and checked again once open: the name may have been
    // given to a FIFO in between.
    const Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) return Refused(ErrnoText(errno));
    if (::fstat(file.get(), &info) != 0) return Refused(ErrnoText(errno));
    if (!S_ISREG(info.st_mode)) return Refused(NotRegularReason(info.st_mode));

    QByteArray head(kSniffBytes, Qt::Uninitialized);
    const ssize_t got = ::pread(file.get(), head.data(), size_t(head.size()), 0);
    if (got < 0) return Refused(ErrnoText(errno));
    if (got == 0) return Refused(QStringLiteral("empty file"));
    head.truncate(got);
    if (IsPage(head)) {
        MediaFacts facts;
        facts.kind = MediaKind::Page;
        facts.format = QStringLiteral("html");
        return facts;
    }

    MediaFacts facts;
    if (ReadPicture(file.get(), head, facts)) return facts;
    if (::lseek(file.get(), 0, SEEK_SET) != 0) return Refused(ErrnoText(errno));
    return ReadClip(file.get());
}

}  // namespace platform::media
