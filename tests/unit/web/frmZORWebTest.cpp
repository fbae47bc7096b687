#include "web/frmZORWeb.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "config/Instances.h"
#include "FakeBrowserEngine.h"
#include "platform/ui/Twips.h"
#include "platform/vb/EndProgram.h"
#include "state/RunState.h"
#include "support/ProgramFolder.h"

namespace {

using testsupport::FakeBrowserEngine;

class frmZORWebTest : public testsupport::ProgramFolderTest {
protected:
    // Loads a window on address; the fake stays reachable through browser_.
    std::unique_ptr<frmZORWeb> Load(const QString& address, qint16 runMode = 2, qint16 delay = 0) {
        gWebAddress = address;
        gRunMode = runMode;
        gSettings().LetDelayTimer(delay);
        auto engine = std::make_unique<FakeBrowserEngine>();
        browser_ = engine.get();
        return std::make_unique<frmZORWeb>(std::move(engine));
    }
    static QStringList Items(const QComboBox& box) {
        QStringList items;
        for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
        return items;
    }

    FakeBrowserEngine* browser_ = nullptr;
    const QString page_ = QStringLiteral("http://example.org/a");
};

TEST_F(frmZORWebTest, LoadSteps) {
    const QString help = ProgramFile(QStringLiteral("ZORhlp.htm"));
    struct Case {
        const char* name;
        QString address;
        qint16 runMode, delay;
        bool showButtons;   // Continue Show and Quit Show
        qint16 storedDelay;
        int displayMs;      // 0: no display time
    };
    const Case cases[] = {
        {"help page", help, 2, 0, false, 0, 0},
        {"help page in preview", help, 3, 45, false, 45, 45000},
        {"help page in other case", ProgramFile(QStringLiteral("zorhlp.htm")), 2, 0, true, 0, 0},
        {"help page under another folder", QStringLiteral("/elsewhere/ZORhlp.htm"), 2, 0, true, 0, 0},
        {"display time 0", page_, 2, 0, true, 0, 0},
        {"display time 3", page_, 2, 3, true, 10, 10000},
        {"display time -5", page_, 2, -5, true, 10, 10000},
        {"display time 10", page_, 2, 10, true, 10, 10000},
        {"display time 45", page_, 2, 45, true, 45, 45000},
        {"preview keeps its display time", page_, 3, 45, true, 45, 45000},
        {"long address", QString(10000, u'x'), 2, 45, true, 45, 45000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto w = Load(c.address, c.runMode, c.delay);
        EXPECT_TRUE(w->Cmd_AddURL->isHidden());
        EXPECT_EQ(!w->Cmd_ContShow->isHidden(), c.showButtons);
        EXPECT_EQ(!w->Command2->isHidden(), c.showButtons);
        EXPECT_EQ(browser_->calls, QStringList{"Navigate " + c.address});
        EXPECT_EQ(w->cboAddress->currentText(), c.address);
        EXPECT_EQ(Items(*w->cboAddress), QStringList{c.address});
        EXPECT_TRUE(w->timTimer->isActive());
        EXPECT_EQ(gSettings().DelayTimer(), c.storedDelay);
        EXPECT_EQ(w->KillTimer->isActive(), c.displayMs != 0);
        if (c.displayMs != 0) EXPECT_EQ(w->KillTimer->interval(), c.displayMs);
        EXPECT_EQ(w->windowTitle(), "ZOR Help Browser");
        // The address box sits under its label.
        const platform::TwipsRect label = platform::Geometry(*w->lblAddress);
        EXPECT_NEAR(platform::Geometry(*w->cboAddress).Top, label.Top + label.Height + 15, platform::TwipsPerPixelY());
    }
}

TEST_F(frmZORWebTest, EmptyAddressShowsNoPageAndKeepsTheDisplayTime) {
    for (const qint16 delay : {qint16(3), qint16(45)}) {
        const auto w = Load(QString(), 2, delay);
        EXPECT_TRUE(browser_->calls.isEmpty());
        EXPECT_EQ(w->cboAddress->currentText(), "Combo1");
        EXPECT_EQ(w->cboAddress->count(), 0);
        EXPECT_FALSE(w->timTimer->isActive());
        EXPECT_FALSE(w->KillTimer->isActive());
        EXPECT_EQ(gSettings().DelayTimer(), delay);
        EXPECT_FALSE(w->Cmd_ContShow->isHidden());
    }
}

TEST_F(frmZORWebTest, VisitedAddressesMoveToTheTopWithoutCopies) {
    struct Case {
        QStringList visits;
        QStringList list;
    };
    const Case cases[] = {
        {{}, {"http://example.org/a"}},
        {{"http://example.org/a"}, {"http://example.org/a"}},
        {{"http://b/"}, {"http://b/", "http://example.org/a"}},
        {{"http://b/", "http://c/", "http://example.org/a"}, {"http://example.org/a", "http://c/", "http://b/"}},
        {{"http://b/", "http://c/", "http://b/"}, {"http://b/", "http://c/", "http://example.org/a"}},
        {{"http://B/", "http://b/"}, {"http://b/", "http://B/", "http://example.org/a"}},  // exact match only
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.visits.join(' ').toStdString());
        const auto w = Load(page_);
        for (const QString& url : c.visits) browser_->Arrive(url, "Title of " + url);
        EXPECT_EQ(Items(*w->cboAddress), c.list);
        EXPECT_EQ(w->cboAddress->currentIndex(), 0);
        if (!c.visits.isEmpty()) EXPECT_EQ(w->windowTitle(), "Title of " + c.visits.last());
        EXPECT_EQ(browser_->calls.size(), 1);  // rewriting the list navigates nowhere
    }
}

TEST_F(frmZORWebTest, AddressBoxNavigatesOnClickAndEnter) {
    const auto w = Load(page_);
    browser_->Arrive(QStringLiteral("http://b/"), QStringLiteral("B"));
    w->timTimer->stop();
    browser_->calls.clear();

    w->cboAddress->setEditText(QStringLiteral("http://typed/"));
    w->cboAddress_KeyPress('x');
    EXPECT_TRUE(browser_->calls.isEmpty());
    EXPECT_FALSE(w->timTimer->isActive());
    w->cboAddress_KeyPress(13);
    EXPECT_EQ(browser_->calls, QStringList{"Navigate http://typed/"});
    EXPECT_TRUE(w->timTimer->isActive());

    w->cboAddress->setCurrentIndex(1);
    w->cboAddress_Click();
    EXPECT_EQ(browser_->calls.last(), "Navigate " + page_);
}

TEST_F(frmZORWebTest, ToolbarButtons) {
    struct Case {
        QString key;
        QStringList calls;
        bool polling;
    };
    const Case cases[] = {
        {"Back", {"GoBack"}, true},       {"Forward", {"GoForward"}, true}, {"Refresh", {"Refresh"}, true},
        {"Home", {"GoHome"}, true},       {"Search", {"GoSearch"}, true},   {"Stop", {"Stop"}, false},
        {"Unknown", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        const auto w = Load(page_);
        w->timTimer->stop();
        browser_->calls.clear();
        browser_->title = QStringLiteral("Page title");
        w->tbToolBar_ButtonClick(c.key);
        EXPECT_EQ(browser_->calls, c.calls);
        EXPECT_EQ(w->timTimer->isActive(), c.polling);
        EXPECT_EQ(w->windowTitle(), c.key == "Stop" ? "Page title" : "ZOR Help Browser");
    }
}

TEST_F(frmZORWebTest, CaptionFollowsTheBrowser) {
    const auto w = Load(page_);
    browser_->busy = true;
    browser_->title = QStringLiteral("Half loaded");
    w->timTimer_Timer();
    EXPECT_EQ(w->windowTitle(), "Working...");
    EXPECT_TRUE(w->timTimer->isActive());
    browser_->busy = false;
    w->timTimer_Timer();
    EXPECT_EQ(w->windowTitle(), "Half loaded");
    EXPECT_FALSE(w->timTimer->isActive());
    browser_->title = QStringLiteral("Done");
    browser_->DownloadComplete();
    EXPECT_EQ(w->windowTitle(), "Done");
}

TEST_F(frmZORWebTest, EndingCommands) {
    for (int i = 0; i < 4; ++i) gMovies().Add(Movie());
    struct Flags {
        bool entryDone, quit, stopRequest;
        qint16 navPos;
        bool hidden;
    };
    struct Case {
        const char* name;
        qint16 runMode;
        std::function<void(frmZORWeb&)> command;
        Flags after;
    };
    const Case cases[] = {
        {"Continue Show", 2, [](frmZORWeb& w) { w.Cmd_ContShow->click(); }, {true, false, false, 0, true}},
        {"Quit Show", 2, [](frmZORWeb& w) { w.Command2->click(); }, {true, true, true, 4, true}},
        {"display time", 2, [](frmZORWeb& w) { w.KillTimer_Timer(); }, {true, false, false, 0, true}},
        {"display time in preview", 3, [](frmZORWeb& w) { w.KillTimer_Timer(); }, {false, false, false, 0, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gEntryDone = gQuit = gStopRequest = false;
        gNavPos = 0;
        const auto w = Load(page_, c.runMode, 45);
        w->show();
        c.command(*w);
        EXPECT_EQ(gEntryDone, c.after.entryDone);
        EXPECT_EQ(gQuit, c.after.quit);
        EXPECT_EQ(gStopRequest, c.after.stopRequest);
        EXPECT_EQ(gNavPos, c.after.navPos);
        EXPECT_EQ(w->isHidden(), c.after.hidden);
    }
}

TEST_F(frmZORWebTest, PressOnTheToolbarEndsTheProgram) {
    for (const qint16 runMode : {qint16(2), qint16(3), qint16(0)}) {
        SCOPED_TRACE(runMode);
        const auto w = Load(page_, runMode);
        EXPECT_FALSE(w->PasswordExit());  // no password in force
        EXPECT_THROW(w->tbToolBar_MouseDown(), vb::ProgramEnded);
        EXPECT_FALSE(gEntryDone || gQuit || gStopRequest);
    }
}

TEST_F(frmZORWebTest, ResizeLayout) {
    const auto w = Load(page_);
    const float x = platform::TwipsPerPixelX(), y = platform::TwipsPerPixelY();
    for (const QSize size : {QSize(830, 560), QSize(1280, 720), QSize(400, 300)}) {
        SCOPED_TRACE(size.width());
        w->resize(size);
        w->Form_Resize();
        const platform::TwipsRect strip = platform::Geometry(*w->picAddress);
        const platform::TwipsRect page = w->brwWebBrowser->Geometry();
        EXPECT_NEAR(platform::Geometry(*w->cboAddress).Width, size.width() * x - 100, x);
        EXPECT_NEAR(page.Width, size.width() * x - 100, x);
        EXPECT_NEAR(page.Height, size.height() * y - (strip.Top + strip.Height) - 500, y);
        EXPECT_NEAR(page.Left, 45, x);
        EXPECT_NEAR(page.Top, 1650, y);
    }
    w->resize(20, 20);  // too small for the page: it shrinks to nothing
    w->Form_Resize();
    EXPECT_EQ(w->brwWebBrowser->Geometry().Height, 0);
}

}  // namespace
