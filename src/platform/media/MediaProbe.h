#pragma once
// What kind of media a file holds and its facts (length, frame rate, size),
// told from its content alone, never from its name. Reads headers only: a
// picture's size from its header through the show's own picture readers
// (PictureHeader), a clip's from
// its container through libavformat; frames are decoded only for the few
// containers whose header lacks the length or size (MPEG-TS, raw streams),
// and then within a small read limit. Meant for thousands of files a second.
//
// Anything that is not a non-empty regular file (a folder, FIFO, device,
// dangling link, link loop) is refused after a stat, without being opened;
// files are opened non-blocking and checked again once open, so nothing
// here waits for a writer. A probe gives up after 10 seconds. Failures never
// throw: they come back as MediaKind::Unknown with the reason.
//
// Threads: ProbeMedia may run on any thread, on several at once; it holds
// no state between calls. Silences FFmpeg's own log for the whole process
// on first use.

#include <QString>

namespace platform::media {

enum class MediaKind { Unknown, Video, Sound, Picture, Page };  // Unknown: not media (or unreadable), with reason

struct MediaFacts {
    MediaKind kind = MediaKind::Unknown;
    double seconds = 0;          // length of a video or sound; 0 when unknown or a picture/page
    double framesPerSecond = 0;  // of a video's first video stream; 0 when unknown
    int width = 0, height = 0;   // pixels of a video or a picture; 0 otherwise
    // The container or picture format's short name ("mov,mp4,m4a,3gp,3g2,mj2",
    // "png", "html"); also set for Unknown when the container was recognised
    // but holds neither video nor sound.
    QString format;
    bool picture = false;  // Unknown only: a picture (of format) that the show cannot draw, for reason
    QString reason;  // why kind is Unknown ("not a regular file (a FIFO)", av_strerror text...); else empty
};

// A video has a video stream that is not just an attached picture (cover
// art); a sound has sound streams only. A picture is one the show can draw
// (PictureHeader); a picture it cannot draw (no decoder here, a format only
// FFmpeg reads) is Unknown with the reason and its format. A page is HTML: after an
// optional byte order mark and white space it starts with "<!doctype html",
// "<html", "<head" or "<body", in any case.
MediaFacts ProbeMedia(const QString& path);

}  // namespace platform::media
