// The web page window as a user meets it: a real window with a real browser
// on a virtual display, ended by its buttons, by a press on its toolbar and
// by its display time, also for addresses that cannot be shown.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTcpServer>

#include "support/XTools.h"

using namespace testsupport;

namespace {

// Places on the window, in pixels at 96 DPI (twips / 15), centred on the control.
const QPoint kContinueShow{(6240 + 1815 / 2) / 15, (60 + 495 / 2) / 15};
const QPoint kQuitShow{(9000 + 1815 / 2) / 15, (60 + 495 / 2) / 15};
const QPoint kBareToolbar{(4320 + 1815 / 2) / 15, 10};  // where the hidden "Add URL" button would be
const QPoint kInsidePage{400, 1650 / 15 + 150};

class WebWindowE2E : public ::testing::Test {
protected:
    WebWindowE2E() {
        WriteBytes(page_, "<!DOCTYPE html><html><head><title>Lime Test Page</title></head>"
                          "<body style=\"background:#20c040\"><p>A page for the show.</p></body></html>");
    }
    // The driver's arguments: run mode, display time, number of entries, address.
    std::unique_ptr<ChildProcess> Open(const QStringList& arguments) {
        return StartOn(screen_.name(), WEB_WINDOW_DRIVER, arguments, folder_.path());
    }
    // The lines the driver printed: "caption|buttons|flags|display time" and the seconds shown.
    static QStringList Ended(ChildProcess& driver, int timeoutMs = 30000) {
        EXPECT_TRUE(driver.EndsCleanly(timeoutMs)) << "the window did not end cleanly";
        return QString::fromUtf8(driver.readAllStandardOutput()).split(u'\n');
    }
    // Presses a place on the window once it shows its page (the lime one, or
    // none for no address) and gives the driver's first line.
    QString Press(QPoint at, const QString& address, const QStringList& modeTimeEntries = {"2", "0", "4"}) {
        const auto driver = Open(modeTimeEntries + QStringList{address});
        const QPoint origin = screen_.WaitForWindow(address.isEmpty() ? "ZOR Help Browser" : "Lime Test Page").origin;
        // The window is mapped before it is drawn, and replaced by a new one
        // in the same place as the browser view arrives: a press on the first
        // is lost. A person presses what they see.
        const QColor page = address.isEmpty() ? QColor(Qt::white) : QColor(0x20, 0xc0, 0x40);
        EXPECT_TRUE(screen_.Shows(origin + kInsidePage, page, 8)) << "the page was not drawn";
        screen_.Click(origin + at);
        return Ended(*driver).value(0);
    }

    VirtualDisplay screen_;
    TempFolder folder_;
    const QString page_ = folder_.file("lime.htm");
};

TEST_F(WebWindowE2E, ButtonsEndTheEntryOrTheShowAndTheToolbarTheProgram) {
    // The page's title is the caption; the display time 0 leaves the page to the user.
    EXPECT_EQ(Press(kContinueShow, page_), "Lime Test Page|Continue Show,Quit Show|1 0 0 0|0");
    EXPECT_EQ(Press(kQuitShow, page_, {"2", "0", "7"}), "Lime Test Page|Continue Show,Quit Show|1 1 1 7|0");
    // No address: no page and no display time; the window waits for the user.
    EXPECT_EQ(Press(kContinueShow, "", {"2", "45", "4"}), "ZOR Help Browser|Continue Show,Quit Show|1 0 0 0|45");
    // A press on the bar itself ends the program at once, in a show without a
    // password as in a preview: nothing is printed.
    for (const char* runMode : {"2", "3"}) EXPECT_EQ(Press(kBareToolbar, page_, {runMode, "0", "4"}), "") << runMode;
}

// The display time, raised to ten seconds, ends the entry whatever came of
// the address; the help page beside the program has no show buttons.
TEST_F(WebWindowE2E, DisplayTimeEndsTheEntryWhateverTheAddress) {
    QTcpServer silent;  // takes connections (the system does) and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QString ended = "|Continue Show,Quit Show|1 0 0 0|10";
    const std::pair<QString, QString> cases[] = {  // address, and the driver's first line; *: any caption
        {QFileInfo(WEB_WINDOW_DRIVER).canonicalPath() + "/ZORhlp.htm", "ZORScr Help||1 0 0 0|10"},
        {QStringLiteral("http://127.0.0.1:%1/slow").arg(silent.serverPort()), "Working..." + ended},
        {"http://127.0.0.1:1/unreachable", "*" + ended},
        {"http://[::1", "*" + ended},
        {"http://127.0.0.1:1/" + QString(10000, u'a'), "*" + ended},
        {folder_.file("missing.htm"), "*" + ended},
    };
    std::vector<std::unique_ptr<ChildProcess>> drivers;
    for (const auto& c : cases) drivers.push_back(Open({"2", "3", "4", c.first}));  // side by side: ten seconds each
    for (size_t i = 0; i < drivers.size(); ++i) {
        const QStringList printed = Ended(*drivers[i], 60000);
        const bool anyCaption = cases[i].second.startsWith(u'*');
        EXPECT_EQ(anyCaption ? "*|" + printed.value(0).section(u'|', 1) : printed.value(0), cases[i].second);
        EXPECT_GE(printed.value(1).toDouble(), 9.9) << qPrintable(cases[i].first.left(60));
    }
}

}  // namespace
