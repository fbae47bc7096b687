#pragma once
// A PulseAudio server of the test's own, with one null sink, so that a test
// can set the "sound card's" master volume through ALSA and read it back.
// Its home and run-time folders are fresh temporary folders: two servers, or
// a server and the user's own, never see each other. It is a child of the
// test process (not a daemon), so it cannot outlive a crashed test.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include "support/TestSupport.h"

namespace testsupport {

class PulseServer {
public:
    // Starts the server and waits until ALSA's pulse plugin (through amixer)
    // answers; throws std::runtime_error, with the server's log, when it does
    // not within 10 seconds. Works as root (pulseaudio only warns).
    PulseServer();
    // Stops it with `pulseaudio --kill` and waits until it has ended; puts
    // back what UseInThisProcess changed.
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // The caller's environment with HOME, XDG_RUNTIME_DIR and PULSE_SERVER
    // pointing at this server, and the user's own PulseAudio settings
    // (PULSE_*, XDG_CONFIG_HOME) taken out: for a child process that should
    // use it.
    QProcessEnvironment Environment() const;
    // The same in this process, for ALSA's pulse plugin loaded here. ALSA
    // decides at its first use in a process whether "default" is the pulse
    // plugin, so call this before anything here opens ALSA.
    void UseInThisProcess();
    // ALSA's Master playback value of the first channel (0 .. 65536), read
    // with amixer; -1 when amixer fails.
    qint64 MasterVolume() const;
    // Sets it with amixer as a user would ("20%"); whether amixer took it.
    bool SetMasterVolume(const QString& amount) const;

private:
    QByteArray Amixer(const QStringList& arguments, bool* ok) const;
    QString Log() const;

    TempFolder home_;
    TempFolder runtime_;
    QProcess server_;
    ScopedEnv environment_;  // what UseInThisProcess changed
};

}  // namespace testsupport
