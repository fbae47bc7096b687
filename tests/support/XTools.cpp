#include "support/XTools.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <cstdlib>
#include <stdexcept>

namespace testsupport {

XTools::XTools(const QString& display) : environment_(QProcessEnvironment::systemEnvironment()) {
    environment_.insert(QStringLiteral("DISPLAY"), display);
}

QString XTools::Run(const QString& program, const QStringList& arguments) const {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) throw std::runtime_error(program.toStdString() + " did not finish");
    return QString::fromUtf8(process.readAllStandardOutput());
}

qulonglong XTools::WaitForWindow(const QString& title, int timeoutMs) const {
    const QString pattern = u'^' + QRegularExpression::escape(title) + u'$';
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        const QString ids = Run(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", pattern}).trimmed();
        if (!ids.isEmpty()) return ids.section(u'\n', 0, 0).toULongLong();
        QThread::msleep(100);
    }
    return 0;
}

QPoint XTools::Origin(qulonglong window) const {
    const QString shell = Run(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", QString::number(window)});
    const auto value = [&](const char* name) {
        return QRegularExpression(QStringLiteral("%1=(-?\\d+)").arg(QLatin1String(name))).match(shell).captured(1).toInt();
    };
    return {value("X"), value("Y")};
}

void XTools::Click(QPoint at) const {
    Run(QStringLiteral("xdotool"),
        {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

void XTools::MoveMouse(QPoint to) const {
    Run(QStringLiteral("xdotool"), {"mousemove", "--sync", QString::number(to.x()), QString::number(to.y())});
}

void XTools::Key(const QString& name) const { Run(QStringLiteral("xdotool"), {"key", name}); }
void XTools::KeyDown(const QString& name) const { Run(QStringLiteral("xdotool"), {"keydown", name}); }
void XTools::KeyUp(const QString& name) const { Run(QStringLiteral("xdotool"), {"keyup", name}); }

QColor XTools::ScreenPixel(QPoint at) const {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(QStringLiteral("import"), {"-window", "root", "png:-"});
    if (!process.waitForFinished(20000)) throw std::runtime_error("import did not finish");
    const QImage shot = QImage::fromData(process.readAllStandardOutput(), "PNG");
    if (shot.isNull()) throw std::runtime_error("no screenshot");
    return shot.pixelColor(at);
}

QColor XTools::WaitForPixel(QPoint at, QColor expected, int tolerance, int timeoutMs) const {
    const auto near = [&](const QColor& c) {
        return std::abs(c.red() - expected.red()) <= tolerance && std::abs(c.green() - expected.green()) <= tolerance &&
               std::abs(c.blue() - expected.blue()) <= tolerance;
    };
    QColor seen = ScreenPixel(at);
    for (int waited = 0; !near(seen) && waited < timeoutMs; waited += 200) {
        QThread::msleep(200);
        seen = ScreenPixel(at);
    }
    return seen;
}

}  // namespace testsupport
