#pragma once
// Media made at test time with ffmpeg: clips of one colour and a tone, and
// still pictures of one colour.

#include <QColor>
#include <QString>

namespace testsupport {

bool HaveFfmpeg();
// Throws when ffmpeg fails.
void MakeClip(const QString& path, const QColor& colour, double seconds, int width = 320, int height = 240);
// A clip whose last endSeconds show another colour: its end can be seen.
void MakeClipEndingIn(const QString& path, const QColor& colour, double seconds, const QColor& end, double endSeconds);
// A moving test pattern, for measuring what decoding and drawing cost.
void MakePatternClip(const QString& path, double seconds, int width, int height);
void MakeStill(const QString& path, const QColor& colour, int width, int height);

}  // namespace testsupport
