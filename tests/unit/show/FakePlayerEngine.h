#pragma once
// A media engine for the player control's unit tests: records what it was
// set to and asked to do, and raises ready and end of file when the test
// says so.

#include <QStringList>

#include "platform/media/PlayerEngine.h"

namespace testsupport {

class FakePlayerEngine : public platform::media::PlayerEngine {
public:
    QWidget* View() override { return nullptr; }
    void Open(const QString& url) override {
        calls << QStringLiteral("Open ") + url;
        ready = false;
    }
    void Close() override { calls << QStringLiteral("Close"); }
    void Play() override { calls << QStringLiteral("Play"); }
    void Pause() override { calls << QStringLiteral("Pause"); }
    double Position() const override { return position; }
    void Seek(double seconds) override {
        calls << QStringLiteral("Seek %1").arg(seconds);
        position = seconds;
    }
    double Duration() const override { return duration; }
    bool IsReady() const override { return ready; }
    QSize VideoSize() const override { return size; }
    void SetSpeed(double factor) override { speed = factor; }
    void SetVolume(double value) override { amplitude = value; }
    void SetChannelGains(double l, double r) override {
        left = l;
        right = r;
    }
    void SetMute(bool value) override { mute = value; }
    void SetPart(double start, double end) override {
        partStart = start;
        partEnd = end;
    }
    void SetPlayCount(int value) override { plays = value; }

    // The clip has opened with this picture size and length.
    void RaiseReady(QSize pixels, double seconds = 1) {
        size = pixels;
        duration = seconds;
        ready = true;
        Ready();
    }
    void RaiseEndOfFile(bool failed, const QString& reason = {}) { EndOfFile(failed, reason); }

    QStringList calls;
    double position = 0, duration = 0;
    bool ready = false;
    QSize size;
    double speed = 0, amplitude = -1, left = -1, right = -1, partStart = -1, partEnd = -1;
    bool mute = false;
    int plays = -1;
};

}  // namespace testsupport
