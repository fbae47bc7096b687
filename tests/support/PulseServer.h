#pragma once
// A PulseAudio server of the test's own, with one null sink, so that a test
// can set the "sound card's" master volume through ALSA and read it back. In
// fresh home and run-time folders, it never sees another server; a child of
// the test process (not a daemon), it cannot outlive a crashed test.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include "support/TestSupport.h"

namespace testsupport {

class PulseServer {
public:
    // Starts the server and waits until ALSA's pulse plugin (through amixer)
    // answers; throws std::runtime_error, with the server's log, when it does
    // not within 10 seconds.
    PulseServer();
    ~PulseServer();  // stops it and puts back what UseInThisProcess changed

    // The caller's environment with HOME, XDG_RUNTIME_DIR and PULSE_SERVER
    // pointing at this server and the user's own PulseAudio settings
    // (PULSE_*, XDG_CONFIG_HOME) taken out, for a child process.
    QProcessEnvironment Environment() const;
    // The same in this process, for ALSA's pulse plugin loaded here: call it
    // before anything here opens ALSA, which decides at its first use whether
    // "default" is the pulse plugin.
    void UseInThisProcess();
    // ALSA's Master playback value of the first channel (0 .. 65536); -1 when amixer fails.
    qint64 MasterVolume() const;
    // Sets it with amixer as a user would ("20%"); whether amixer took it.
    bool SetMasterVolume(const QString& amount) const;

private:
    QByteArray Amixer(const QStringList& arguments, bool* ok) const;

    TempFolder home_;
    TempFolder runtime_;
    QProcess server_;
    ScopedEnv environment_;  // what UseInThisProcess changed
};

}  // namespace testsupport
