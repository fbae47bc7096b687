#include "web/frmZORWeb.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "FakeBrowserEngine.h"
#include "config/Instances.h"
#include "platform/ui/Twips.h"
#include "state/RunState.h"
#include "support/TestSupport.h"

using namespace state;
using namespace config;
using namespace web;

namespace {

class frmZORWebTest : public testsupport::ProgramFolderTest {
protected:
    // Loads a window on address; the fake stays reachable through browser_.
    std::unique_ptr<frmZORWeb> Load(const QString& address, qint16 runMode = kRunModeShow, qint16 delay = 0) {
        gWebAddress = address;
        gRunMode = runMode;
        gSettings().LetDelayTimer(delay);
        browser_ = new testsupport::FakeBrowserEngine;
        return std::make_unique<frmZORWeb>(std::unique_ptr<platform::BrowserEngine>(browser_));
    }
    static QStringList Items(const QComboBox& box) {
        QStringList items;
        for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
        return items;
    }

    testsupport::FakeBrowserEngine* browser_ = nullptr;
    const QString page_ = QStringLiteral("http://example.org/a");
};

// The display time is ten seconds at least, none for 0, and runs in preview
// too; the help page beside the program has no show buttons.
TEST_F(frmZORWebTest, LoadSteps) {
    const QString help = ProgramFile(QStringLiteral("ZORhlp.htm"));
    const std::tuple<QString, qint16, qint16, bool, qint16, int> cases[] = {
        // address, run mode, display time, show buttons, display time kept, timer in ms (0: none)
        {help, kRunModeShow, 0, false, 0, 0},
        {ProgramFile(QStringLiteral("zorhlp.htm")), kRunModeShow, 0, true, 0, 0},
        {page_, kRunModeShow, 3, true, 10, 10000},
        {page_, kRunModePreview, 45, true, 45, 45000},
    };
    for (const auto& [address, runMode, delay, showButtons, storedDelay, displayMs] : cases) {
        const auto w = Load(address, runMode, delay);
        EXPECT_TRUE(w->Cmd_AddURL->isHidden() && w->timTimer->isActive());
        EXPECT_EQ(std::make_pair(w->Cmd_ContShow->isHidden(), w->Command2->isHidden()),
                  std::make_pair(!showButtons, !showButtons));
        EXPECT_EQ(browser_->calls + Items(*w->cboAddress), QStringList({"Navigate " + address, address}));
        EXPECT_EQ(std::make_pair(gSettings().DelayTimer(), w->KillTimer->isActive() ? w->KillTimer->interval() : 0),
                  std::make_pair(storedDelay, displayMs));
        w->show();
        w->KillTimer_Timer();
        EXPECT_EQ(w->isHidden() && gEntryDone, runMode == kRunModeShow);  // in preview the page stays
        gEntryDone = false;
    }
    // Without an address: no page, and the display time is left alone.
    const auto w = Load(QString(), kRunModeShow, 3);
    EXPECT_TRUE(browser_->calls.isEmpty() && !w->timTimer->isActive() && !w->KillTimer->isActive());
    EXPECT_EQ(gSettings().DelayTimer(), 3);
}

TEST_F(frmZORWebTest, VisitedAddressesMoveToTheTopWithoutCopies) {
    const std::pair<QStringList, QStringList> cases[] = {  // visits, the list after them
        {{"http://b/", "http://c/", "http://example.org/a"}, {"http://example.org/a", "http://c/", "http://b/"}},
        {{"http://B/", "http://b/"}, {"http://b/", "http://B/", "http://example.org/a"}},  // exact match only
    };
    for (const auto& [visits, list] : cases) {
        const auto w = Load(page_);
        for (const QString& url : visits) browser_->Arrive(url, "Title of " + url);
        EXPECT_EQ(Items(*w->cboAddress), list);
        EXPECT_EQ(w->cboAddress->currentIndex(), 0);
        EXPECT_EQ(w->windowTitle(), "Title of " + visits.last());
        EXPECT_EQ(browser_->calls.size(), 1);  // rewriting the list navigates nowhere
    }
}

TEST_F(frmZORWebTest, AddressBoxToolbarAndCaption) {
    const auto w = Load(page_);
    browser_->Arrive(QStringLiteral("http://b/"), QStringLiteral("B"));
    browser_->calls.clear();
    w->cboAddress->setEditText(QStringLiteral("http://typed/"));
    testsupport::SendKey(*w->cboAddress->lineEdit(), Qt::Key_X, "x");
    testsupport::SendKey(*w->cboAddress->lineEdit(), Qt::Key_Return, "\r");
    w->cboAddress->setCurrentIndex(1);
    w->cboAddress_Click();
    EXPECT_EQ(browser_->calls, QStringList({"Navigate http://typed/x", "Navigate " + page_}));

    browser_->title = QStringLiteral("Page title");
    const std::pair<QString, QString> buttons[] = {  // the call, the caption, whether the caption is polled
        {"Back", "GoBack B polled"},   {"Forward", "GoForward B polled"}, {"Refresh", "Refresh B polled"},
        {"Home", "GoHome B polled"},   {"Search", "GoSearch B polled"},   {"Unknown", " B polled"},
        {"Stop", "Stop Page title"},  // only Stop takes the page's title, and stops polling
    };
    for (const auto& [key, expected] : buttons) {
        w->timTimer->stop();
        browser_->calls.clear();
        w->tbToolBar_ButtonClick(key);
        EXPECT_EQ(browser_->calls.join(u' ') + u' ' + w->windowTitle() + (w->timTimer->isActive() ? " polled" : ""),
                  expected);
    }
    browser_->busy = true;
    w->timTimer_Timer();
    EXPECT_EQ(w->windowTitle(), "Working...");
    browser_->busy = false;
    w->timTimer_Timer();
    EXPECT_EQ(w->windowTitle(), "Page title");
}

// Twips at 96 DPI: 15 to the pixel. The width 100 short of the window's,
// the height 500 short of what the address strip leaves; to whole pixels.
TEST_F(frmZORWebTest, ResizeLayout) {
    const auto w = Load(page_);
    w->resize(830, 560);
    w->Form_Resize();
    EXPECT_EQ(platform::Geometry(*w->cboAddress).Width, 12345);
    const platform::TwipsRect page = w->brwWebBrowser->Geometry();
    EXPECT_EQ(QRectF(page.Left, page.Top, page.Width, page.Height), QRectF(45, 1650, 12345, 6315));
    w->resize(20, 20);  // too small for the page: it shrinks to nothing
    w->Form_Resize();
    EXPECT_EQ(w->brwWebBrowser->Geometry().Height, 0);
}

}  // namespace
