#include "support/TestMedia.h"

#include <QProcess>
#include <QStandardPaths>
#include <stdexcept>

namespace testsupport {
namespace {

void Ffmpeg(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("ffmpeg"), QStringList{"-loglevel", "error", "-y"} + arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        throw std::runtime_error("ffmpeg failed: " + process.readAllStandardError().toStdString());
}

QString Lavfi(const QColor& colour, int width, int height) {
    return QStringLiteral("color=c=0x%1:size=%2x%3:rate=25")
        .arg(colour.name().mid(1))
        .arg(width)
        .arg(height);
}

}  // namespace

bool HaveFfmpeg() { return !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty(); }

void EncodeClip(const QString& path, const QString& source, double seconds) {
    Ffmpeg({"-f", "lavfi", "-i", source, "-f", "lavfi", "-i", "sine=frequency=440", "-t", QString::number(seconds),
            "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest", path});
}

void MakeClip(const QString& path, const QColor& colour, double seconds, int width, int height) {
    EncodeClip(path, Lavfi(colour, width, height), seconds);
}

void MakeClipEndingIn(const QString& path, const QColor& colour, double seconds, const QColor& end, double endSeconds) {
    EncodeClip(path,
               Lavfi(colour, 320, 240) + QStringLiteral(",drawbox=color=0x%1:t=fill:enable='gte(t,%2)'")
                                             .arg(end.name().mid(1))
                                             .arg(seconds - endSeconds),
               seconds);
}

void MakePatternClip(const QString& path, double seconds, int width, int height) {
    EncodeClip(path, QStringLiteral("testsrc2=size=%1x%2:rate=30").arg(width).arg(height), seconds);
}

void MakeStill(const QString& path, const QColor& colour, int width, int height) {
    Ffmpeg({"-f", "lavfi", "-i", Lavfi(colour, width, height), "-frames:v", "1", path});
}

}  // namespace testsupport
