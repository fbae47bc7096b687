// The web page window as a user meets it: a real window with a real browser
// on a virtual display, ended by its buttons, by its display time, and
// surviving addresses that cannot be shown.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <map>
#include <memory>

#include "support/ProgramRun.h"
#include "support/XTools.h"

using namespace testsupport;

namespace {

// Places on the window, in pixels at 96 DPI (twips / 15), centred on the control.
const QPoint kContinueShow{(6240 + 1815 / 2) / 15, (60 + 495 / 2) / 15};
const QPoint kQuitShow{(9000 + 1815 / 2) / 15, (60 + 495 / 2) / 15};
const QPoint kBareToolbar{(4320 + 1815 / 2) / 15, 10};  // where the hidden "Add URL" button would be
const QPoint kInsidePage{400, 1650 / 15 + 150};

// One run of the window driver: the window opens at construction; Finish
// waits for it to end and gives the lines it printed as name and value.
class WindowRun {
public:
    WindowRun(const QString& display, const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        process_.setProcessEnvironment(environment);
        process_.start(QStringLiteral(WEB_WINDOW_DRIVER), arguments);
    }
    ~WindowRun() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    std::map<QString, QString> Finish(int timeoutMs = 30000) {
        EXPECT_TRUE(process_.waitForFinished(timeoutMs)) << "the window did not end";
        EXPECT_EQ(process_.exitStatus(), QProcess::NormalExit) << process_.readAllStandardError().right(4000).toStdString();
        EXPECT_EQ(process_.exitCode(), 0);
        std::map<QString, QString> printed;
        for (const QString& line : QString::fromUtf8(process_.readAllStandardOutput()).split(u'\n'))
            if (line.contains(u'=')) printed[line.section(u'=', 0, 0)] = line.section(u'=', 1);
        return printed;
    }

private:
    TempFolder runtime_;
    QProcess process_;
};

class WebWindowE2E : public ::testing::Test {
protected:
    WebWindowE2E() : x_(display_.name()) {
        WriteBytes(page_, "<!DOCTYPE html><html><head><title>Lime Test Page</title></head>"
                          "<body style=\"background:#20c040\"><p>A page for the show.</p></body></html>");
    }
    std::unique_ptr<WindowRun> Open(const QString& address, int runMode = 2, int displayTime = 0, int entries = 4) {
        return std::make_unique<WindowRun>(
            display_.name(), QStringList{QString::number(runMode), QString::number(displayTime),
                                         QString::number(entries), address});
    }
    QPoint OnWindow(const QString& title, QPoint at) {
        const qulonglong window = x_.WaitForWindow(title);
        EXPECT_NE(window, 0u) << "no window called " << title.toStdString();
        return x_.Origin(window) + at;
    }
    static std::map<QString, QString> Flags(const char* entryDone, const char* quit, const char* stop, const char* navPos) {
        return {{"gEntryDone", entryDone}, {"gQuit", quit}, {"gStopRequest", stop}, {"gNavPos", navPos}};
    }
    static void ExpectIncludes(const std::map<QString, QString>& printed, const std::map<QString, QString>& expected) {
        for (const auto& [name, value] : expected) EXPECT_EQ(printed.count(name) ? printed.at(name) : "(none)", value) << name.toStdString();
    }

    VirtualDisplay display_;
    XTools x_;
    TempFolder folder_;
    const QString page_ = folder_.file(QStringLiteral("lime.htm"));
};

TEST_F(WebWindowE2E, ShowsThePageAndContinueShowEndsTheEntry) {
    auto run = Open(page_);
    const QPoint origin = OnWindow(QStringLiteral("Lime Test Page"), {});  // the page's title is the caption
    const QColor lime(0x20, 0xc0, 0x40);
    EXPECT_EQ(x_.WaitForPixel(origin + kInsidePage, lime, 8).name(), lime.name());  // the page is drawn
    x_.Click(origin + kContinueShow);
    const auto printed = run->Finish();
    ExpectIncludes(printed, Flags("1", "0", "0", "0"));
    ExpectIncludes(printed, {{"caption", "Lime Test Page"}, {"buttons", "Continue Show,Quit Show"}});
}

TEST_F(WebWindowE2E, QuitShowEndsTheShow) {
    auto run = Open(page_, 2, 0, 7);
    x_.Click(OnWindow(QStringLiteral("Lime Test Page"), kQuitShow));
    ExpectIncludes(run->Finish(), Flags("1", "1", "1", "7"));
}

TEST_F(WebWindowE2E, PressOnTheToolbarEndsTheProgram) {
    for (const int runMode : {2, 3}) {
        auto run = Open(page_, runMode);
        x_.Click(OnWindow(QStringLiteral("Lime Test Page"), kBareToolbar));
        EXPECT_EQ(run->Finish().count("gEntryDone"), 0u) << "the program went on in run mode " << runMode;
    }
}

TEST_F(WebWindowE2E, EmptyAddressWaitsForTheUser) {
    auto run = Open(QString(), 2, 45);
    // The window is mapped before it is drawn, and then replaced by a new one
    // as the browser view arrives; a press on the first one is lost. A person
    // presses what they see: the window with its blank page.
    const QPoint origin = OnWindow(QStringLiteral("ZOR Help Browser"), {});
    EXPECT_EQ(x_.WaitForPixel(origin + kInsidePage, Qt::white, 8).name(), QColor(Qt::white).name());
    x_.Click(origin + kContinueShow);
    const auto printed = run->Finish();
    ExpectIncludes(printed, Flags("1", "0", "0", "0"));
    ExpectIncludes(printed, {{"caption", "ZOR Help Browser"}, {"DelayTimer", "45"}});
}

// The help page has no show buttons; a short display time is raised to ten
// seconds and then ends the entry.
TEST_F(WebWindowE2E, HelpPageEndsAfterTheDisplayTime) {
    const QString help = QFileInfo(QStringLiteral(WEB_WINDOW_DRIVER)).canonicalPath() + QStringLiteral("/ZORhlp.htm");
    auto run = Open(help, 2, 3);
    EXPECT_NE(x_.WaitForWindow(QStringLiteral("ZORScr Help")), 0u);
    const auto printed = run->Finish();
    ExpectIncludes(printed, Flags("1", "0", "0", "0"));
    ExpectIncludes(printed, {{"buttons", ""}, {"DelayTimer", "10"}, {"caption", "ZORScr Help"}});
    EXPECT_GE(printed.at("shown").toDouble(), 9.9);
    EXPECT_LT(printed.at("shown").toDouble(), 20.0);
}

TEST_F(WebWindowE2E, AddressesThatCannotBeShownStillEndByTheDisplayTime) {
    QTcpServer silent;  // takes connections (the system does) and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QString neverLoads = QStringLiteral("http://127.0.0.1:%1/slow").arg(silent.serverPort());
    struct Case {
        QString address;
        QString caption;  // empty: any
    };
    const Case cases[] = {
        {neverLoads, QStringLiteral("Working...")},
        {QStringLiteral("http://127.0.0.1:1/unreachable"), {}},
        {QStringLiteral("http://[::1"), {}},
        {QStringLiteral("http://127.0.0.1:1/") + QString(10000, u'a'), {}},
        {folder_.file(QStringLiteral("missing.htm")), {}},
    };
    std::vector<std::unique_ptr<WindowRun>> runs;
    for (const Case& c : cases) runs.push_back(Open(c.address, 2, 5));  // side by side: each takes ten seconds
    for (size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(cases[i].address.left(60).toStdString());
        const auto printed = runs[i]->Finish(40000);
        ExpectIncludes(printed, Flags("1", "0", "0", "0"));
        if (!cases[i].caption.isEmpty()) ExpectIncludes(printed, {{"caption", cases[i].caption}});
        EXPECT_LT(printed.count("shown") ? printed.at("shown").toDouble() : 99, 20.0);
    }
}

}  // namespace
