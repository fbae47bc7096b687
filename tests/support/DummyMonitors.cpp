#include "support/DummyMonitors.h"

#include <stdexcept>

namespace testsupport {

DummyMonitors::DummyMonitors(int width, int height) {
    const int kib = width * height * 4 / 1024 + 1024;
    WriteBytes(folder_.file("xorg.conf"), ReadText(DUMMY_XORG_CONF)
                                              .replace("@KIB@", QString::number(kib))
                                              .replace("@WIDTH@", QString::number(width))
                                              .replace("@HEIGHT@", QString::number(height))
                                              .toUtf8());
    // -displayfd: the server takes a free display number and says which;
    // -noreset: tools come and go while the program under test connects.
    xorg_.setProcessChannelMode(QProcess::SeparateChannels);
    xorg_.setStandardErrorFile(folder_.file("xorg.err"));
    xorg_.start("Xorg", {"-displayfd", "1", "-config", folder_.file("xorg.conf"), "-noreset", "-nolisten", "tcp",
                         "-logfile", folder_.file("xorg.log")});
    while (!xorg_.canReadLine() && xorg_.waitForReadyRead(20000)) continue;
    name_ = u':' + QString::fromLatin1(xorg_.readLine()).trimmed();
    if (name_.size() < 2) throw std::runtime_error("Xorg did not start: " + ReadText(folder_.file("xorg.err")).toStdString());
}

DummyMonitors::~DummyMonitors() { xorg_.terminate(), xorg_.waitForFinished(); }

bool DummyMonitors::Plug(int output, const QRect& place) const {
    // A mode of that size, at 60 Hz (the dummy takes any clock in its range).
    const int w = place.width(), h = place.height();
    const QString mode = QStringLiteral("zor%1x%2").arg(w).arg(h);
    const QString clock = QString::number((w + 160) * (h + 13) * 60 / 1e6, 'f', 2);
    Xrandr({"--newmode", mode, clock, QString::number(w), QString::number(w + 16), QString::number(w + 80),
            QString::number(w + 160), QString::number(h), QString::number(h + 3), QString::number(h + 8),
            QString::number(h + 13)});  // fails, harmlessly, when it exists already
    const QString out = QStringLiteral("DUMMY%1").arg(output);
    Xrandr({"--addmode", out, mode});
    return Xrandr({"--output", out, "--mode", mode, "--pos", QStringLiteral("%1x%2").arg(place.x()).arg(place.y())});
}

bool DummyMonitors::Unplug(int output) const { return Xrandr({"--output", QStringLiteral("DUMMY%1").arg(output), "--off"}); }

bool DummyMonitors::Xrandr(const QStringList& arguments) const {
    QProcess xrandr;
    xrandr.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", name_);
    xrandr.setProcessEnvironment(environment);
    xrandr.start("xrandr", arguments);
    return xrandr.waitForFinished(20000) && xrandr.exitStatus() == QProcess::NormalExit && xrandr.exitCode() == 0;
}

}  // namespace testsupport
