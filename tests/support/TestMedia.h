#pragma once
// Media made at test time with ffmpeg from its generated pictures; each
// function throws when ffmpeg fails.

#include <QColor>
#include <QString>

namespace testsupport {

// A picture of one colour, as an ffmpeg source; filters can follow it.
QString ColourSource(const QColor& colour, int width = 320, int height = 240);
// A clip of a picture source ("testsrc2=size=1920x1080:rate=30", a colour) with a tone.
void MakeClip(const QString& path, const QString& picture, double seconds);
void MakeStill(const QString& path, const QString& picture);

}  // namespace testsupport
