#include "support/TestMedia.h"

#include <QProcess>
#include <stdexcept>

namespace testsupport {
namespace {

void Ffmpeg(const QStringList& arguments) {
    QProcess process;
    process.start("ffmpeg", QStringList{"-loglevel", "error", "-y", "-f", "lavfi", "-i"} + arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        throw std::runtime_error("ffmpeg failed: " + process.readAllStandardError().toStdString());
}

}  // namespace

QString ColourSource(const QColor& colour, int width, int height) {
    return QStringLiteral("color=c=0x%1:size=%2x%3:rate=25").arg(colour.name().mid(1)).arg(width).arg(height);
}

void MakeClip(const QString& path, const QString& picture, double seconds) {
    Ffmpeg({picture, "-f", "lavfi", "-i", "sine=frequency=440", "-t", QString::number(seconds), "-c:v", "libx264",
            "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest", path});
}

void MakeStill(const QString& path, const QString& picture) { Ffmpeg({picture, "-frames:v", "1", path}); }

}  // namespace testsupport
