#include "support/XTools.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>
#include <map>
#include <stdexcept>

namespace testsupport {

QByteArray XTools::Tool(const QString& program, const QStringList& arguments) const {
    const auto process = StartOn(display_, program, arguments);
    if (!process->waitForFinished(20000)) throw std::runtime_error(program.toStdString() + " did not finish");
    return process->readAllStandardOutput();
}

XTools::Window XTools::WaitForWindow(const QString& title) const {
    const QString pattern = u'^' + QRegularExpression::escape(title) + u'$';
    for (int tries = 0; tries < 200; ++tries, QThread::msleep(100)) {
        std::map<QString, int> shell;  // WINDOW, X, Y and more
        for (const QString& line :
             Xdotool({"search", "--onlyvisible", "--name", pattern, "getwindowgeometry", "--shell"}).split(u'\n'))
            shell[line.section(u'=', 0, 0)] = line.section(u'=', 1).toInt();
        if (shell["WINDOW"] != 0) return {static_cast<qulonglong>(shell["WINDOW"]), {shell["X"], shell["Y"]}};
    }
    return {};
}

XTools::Window XTools::OpenWindow(const QString& title) {
    windows_.push_back(
        StartOn(display_, "xmessage", {"-geometry", "400x300+100+100", "-title", title, QString(20, u' ')}));
    return WaitForWindow(title);
}

QImage XTools::Screen() const {
    return QImage::fromData(Tool("import", {"-silent", "-window", "root", "png:-"}));
}

bool XTools::Shows(QPoint at, const QColor& colour, int tolerance, int timeoutMs) const {
    QElapsedTimer clock;
    clock.start();
    for (; !Near(Screen().pixelColor(at), colour, tolerance); QThread::msleep(100))
        if (clock.elapsed() > timeoutMs) return false;
    return true;
}

bool XTools::Near(const QColor& seen, const QColor& colour, int tolerance) {
    return seen.isValid() && std::max({std::abs(seen.red() - colour.red()), std::abs(seen.green() - colour.green()),
                                       std::abs(seen.blue() - colour.blue())}) <= tolerance;
}

}  // namespace testsupport
