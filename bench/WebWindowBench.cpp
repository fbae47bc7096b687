// The web page window beside a bare QWebEngineView measured in the same run:
// the time from creating and showing the window to its first
// NavigateComplete2 on a local page (for the bare view: to its load
// finishing), and the memory of the process (peak resident set) and of the
// whole process tree with the browser's helper processes, once the page is in.
// Each measurement runs in a fresh process; the two kinds take turns.
// Run (needs a display): xvfb-run -a build/bin/WebWindowBench [rounds]

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "config/Instances.h"
#include "platform/ui/Application.h"
#include "platform/web/GuardedPage.h"
#include "state/RunState.h"
#include "support/TestSupport.h"
#include "web/frmZORWeb.h"

using namespace state;
using namespace config;
using namespace web;

namespace {

qint64 StatusKb(const QString& pid, const char* field) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    const QRegularExpression line(QStringLiteral("^%1:\\s+(\\d+)").arg(QLatin1String(field)),
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong();
}

// Resident memory of this process and of every process below it.
qint64 TreeRssKb(const QString& pid) {
    qint64 total = StatusKb(pid, "VmRSS");
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
    if (children.open(QIODevice::ReadOnly))
        for (const QString& child : QString::fromLatin1(children.readAll()).split(u' ', Qt::SkipEmptyParts))
            total += TreeRssKb(child);
    return total;
}

// One measurement in this process; prints "milliseconds peakKb treeKb".
int Measure(int argc, char** argv, bool window, const QString& page) {
    const auto application = platform::StartApplication(argc, argv);
    QElapsedTimer clock;
    bool reported = false;
    const auto report = [&] {
        if (std::exchange(reported, true)) return;
        const qint64 ms = clock.elapsed();
        // Let the page settle before the memory is read.
        QTimer::singleShot(500, [ms] {
            const QString self = QString::number(QCoreApplication::applicationPid());
            std::printf("%lld %lld %lld\n", ms, StatusKb(self, "VmHWM"), TreeRssKb(self));
            QCoreApplication::quit();
        });
    };
    std::unique_ptr<QWidget> shown;
    clock.start();
    if (window) {
        gRunMode = kRunModePreview;  // the display time never ends a preview
        gWebAddress = page;
        auto form = std::make_unique<frmZORWeb>();
        auto& event = form->brwWebBrowser->NavigateComplete2();
        event = [&, raise = event](const QString& url) {
            raise(url);
            report();
        };
        form->show();
        shown = std::move(form);
        return QApplication::exec();
    }
    auto view = std::make_unique<QWebEngineView>();
    view->setPage(new platform::GuardedPage(view.get()));  // the same off-the-record profile
    QObject::connect(view->page(), &QWebEnginePage::loadFinished, view.get(), report);
    view->load(QUrl::fromLocalFile(page));
    view->resize(830, 560);
    view->show();
    shown = std::move(view);
    return QApplication::exec();
}

struct Figures {
    std::vector<double> ms, peakKb, treeKb;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && QByteArray(argv[1]) == "--child")
        return Measure(argc, argv, QByteArray(argv[2]) == "window", QString::fromLocal8Bit(argv[3]));

    const int rounds = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 5;
    testsupport::TempFolder folder;
    const QString page = folder.file(QStringLiteral("page.htm"));
    testsupport::WriteBytes(page, "<!DOCTYPE html><html><head><title>Bench page</title></head><body>"
                                  "<h1>A local page</h1><p>Some text to lay out.</p></body></html>");
    Figures window, bare;
    for (int round = 0; round < rounds; ++round) {
        for (const bool isWindow : {round % 2 == 0, round % 2 != 0}) {
            QProcess child;
            child.start(QString::fromLocal8Bit(argv[0]),
                        {QStringLiteral("--child"), isWindow ? QStringLiteral("window") : QStringLiteral("bare"), page});
            child.waitForFinished(60000);
            const QStringList parts = QString::fromLatin1(child.readAllStandardOutput()).trimmed().split(u' ');
            if (parts.size() != 3) {
                std::fprintf(stderr, "a measurement failed: %s\n", child.readAllStandardError().constData());
                return 1;
            }
            Figures& f = isWindow ? window : bare;
            f.ms.push_back(parts[0].toDouble());
            f.peakKb.push_back(parts[1].toDouble());
            f.treeKb.push_back(parts[2].toDouble());
        }
    }
    const auto line = [](const char* what, double ours, double reference, const char* unit) {
        std::printf("%-34s frmZORWeb %8.0f %s   bare view %8.0f %s   ratio %.2f\n", what, ours, unit, reference, unit,
                    reference > 0 ? ours / reference : 0.0);
    };
    std::printf("medians of %d runs each\n", rounds);
    line("show to first NavigateComplete2", Median(window.ms), Median(bare.ms), "ms");
    line("peak memory of the process", Median(window.peakKb) / 1024, Median(bare.peakKb) / 1024, "MiB");
    line("memory with helper processes", Median(window.treeKb) / 1024, Median(bare.treeKb) / 1024, "MiB");
    return 0;
}
