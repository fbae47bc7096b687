#include "support/PulseServer.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <csignal>
#include <stdexcept>
#include <sys/prctl.h>

namespace testsupport {

PulseServer::PulseServer() {
    // Not a daemon: a daemon's parent is init, which may never reap it, and a
    // test that crashes would leave it running for good. As a child it gets
    // SIGTERM when the test process dies. No session bus: a desktop's bus may
    // already hold the name pulseaudio claims there (it then refuses to start),
    // and without any address libdbus would launch a bus of its own.
    QProcessEnvironment environment = Environment();
    environment.remove(QStringLiteral("PULSE_SERVER"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), "unix:path=" + runtime_.file("no-bus"));
    server_.setProcessEnvironment(environment);
    server_.setStandardOutputFile(QProcess::nullDevice());
    server_.setStandardErrorFile(runtime_.file("pulseaudio.log"));
    server_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    // As root pulseaudio only warns; without real-time scheduling it stays a plain process.
    server_.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--realtime=no", "--high-priority=no",
                                 "--load=module-null-sink", "--load=module-native-protocol-unix"});
    if (!server_.waitForStarted()) throw std::runtime_error("pulseaudio did not start: " + server_.errorString().toStdString());
    // The wait for the server's end doubles as the pause between tries.
    for (const QDeadlineTimer deadline(10000); !deadline.hasExpired() && !server_.waitForFinished(50);) {
        bool answered = false;
        Amixer({"get", "Master"}, &answered);
        if (answered) return;
    }
    server_.kill();
    server_.waitForFinished();
    throw std::runtime_error("pulseaudio did not answer: " + ReadText(runtime_.file("pulseaudio.log")).toStdString());
}

PulseServer::~PulseServer() {
    server_.terminate();  // what pulseaudio --kill sends
    if (!server_.waitForFinished(10000)) server_.kill(), server_.waitForFinished();
}

QProcessEnvironment PulseServer::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : environment.keys())
        if (name.startsWith(QLatin1String("PULSE_"))) environment.remove(name);
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    environment.insert(QStringLiteral("HOME"), home_.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    // Named outright: libpulse would otherwise take a server published on the
    // X display (the desktop's own) before the one in XDG_RUNTIME_DIR.
    environment.insert(QStringLiteral("PULSE_SERVER"), "unix:" + runtime_.file("pulse/native"));
    return environment;
}

void PulseServer::UseInThisProcess() {
    const QProcessEnvironment wanted = Environment();
    for (const QString& name : QProcessEnvironment::systemEnvironment().keys())
        if (!wanted.contains(name)) environment_.Set(name.toLocal8Bit().constData(), {});
    for (const QString& name : wanted.keys())
        environment_.Set(name.toLocal8Bit().constData(), wanted.value(name).toLocal8Bit());
}

qint64 PulseServer::MasterVolume() const {
    bool answered = false;
    const QByteArray text = Amixer({"get", "Master"}, &answered);
    // "  Front Left: Playback 32768 [50%] [on]"; the limits line has no "[".
    static const QRegularExpression channel(QStringLiteral("^\\s*[^:\\n]+: Playback (\\d+) \\["),
                                            QRegularExpression::MultilineOption);
    const auto match = channel.match(QString::fromUtf8(text));
    return answered && match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

bool PulseServer::SetMasterVolume(const QString& amount) const {
    bool answered = false;
    return Amixer({"set", "Master", amount}, &answered), answered;
}

QByteArray PulseServer::Amixer(const QStringList& arguments, bool* ok) const {
    QProcess amixer;
    amixer.setProcessEnvironment(Environment());
    amixer.start("amixer", QStringList{"-D", "pulse"} + arguments);
    *ok = amixer.waitForFinished(5000) && amixer.exitStatus() == QProcess::NormalExit && amixer.exitCode() == 0;
    if (amixer.state() != QProcess::NotRunning) amixer.kill(), amixer.waitForFinished();
    return amixer.readAllStandardOutput();
}

}  // namespace testsupport
