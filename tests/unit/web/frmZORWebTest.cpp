#include "web/frmZORWeb.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "FakeBrowserEngine.h"
#include "config/Instances.h"
#include "platform/ui/Twips.h"
#include "state/RunState.h"
#include "support/ProgramFolder.h"

namespace {

using testsupport::FakeBrowserEngine;

class frmZORWebTest : public testsupport::ProgramFolderTest {
protected:
    // Loads a window on address; the fake stays reachable through browser_.
    std::unique_ptr<frmZORWeb> Load(const QString& address, qint16 runMode = kRunModeShow, qint16 delay = 0) {
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
        QString address;
        qint16 runMode, delay;
        bool showButtons;  // Continue Show and Quit Show
        qint16 storedDelay;
        int displayMs;  // 0: no display time
    };
    const Case cases[] = {
        {help, kRunModeShow, 0, false, 0, 0},
        {ProgramFile(QStringLiteral("zorhlp.htm")), kRunModeShow, 0, true, 0, 0},  // not the help page
        {page_, kRunModeShow, 3, true, 10, 10000},                                 // ten seconds at least
        {page_, kRunModeShow, 10, true, 10, 10000},
        {page_, kRunModePreview, 45, true, 45, 45000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.delay);
        const auto w = Load(c.address, c.runMode, c.delay);
        EXPECT_TRUE(w->Cmd_AddURL->isHidden());
        EXPECT_EQ(std::make_pair(w->Cmd_ContShow->isHidden(), w->Command2->isHidden()),
                  std::make_pair(!c.showButtons, !c.showButtons));
        EXPECT_EQ(browser_->calls, QStringList{"Navigate " + c.address});
        EXPECT_EQ(Items(*w->cboAddress), QStringList{c.address});
        EXPECT_TRUE(w->timTimer->isActive());
        EXPECT_EQ(gSettings().DelayTimer(), c.storedDelay);
        EXPECT_EQ(w->KillTimer->isActive() ? w->KillTimer->interval() : 0, c.displayMs);
        EXPECT_EQ(w->windowTitle(), "ZOR Help Browser");
        EXPECT_EQ(platform::Geometry(*w->cboAddress).Top, 330);  // under its label
    }

    // Without an address: no page, and the display time is left alone.
    const auto w = Load(QString(), kRunModeShow, 3);
    EXPECT_TRUE(browser_->calls.isEmpty());
    EXPECT_EQ(w->cboAddress->currentText(), "Combo1");
    EXPECT_FALSE(w->timTimer->isActive() || w->KillTimer->isActive());
    EXPECT_EQ(gSettings().DelayTimer(), 3);
}

TEST_F(frmZORWebTest, VisitedAddressesMoveToTheTopWithoutCopies) {
    const std::pair<QStringList, QStringList> cases[] = {  // visits, the list after them
        {{"http://example.org/a"}, {"http://example.org/a"}},
        {{"http://b/", "http://c/", "http://example.org/a"}, {"http://example.org/a", "http://c/", "http://b/"}},
        {{"http://B/", "http://b/"}, {"http://b/", "http://B/", "http://example.org/a"}},  // exact match only
    };
    for (const auto& [visits, list] : cases) {
        SCOPED_TRACE(visits.join(' ').toStdString());
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
    w->timTimer->stop();
    browser_->calls.clear();
    w->cboAddress->setEditText(QStringLiteral("http://typed/"));
    w->cboAddress_KeyPress('x');
    EXPECT_TRUE(browser_->calls.isEmpty());
    w->cboAddress_KeyPress(13);
    EXPECT_EQ(browser_->calls, QStringList{"Navigate http://typed/"});
    w->cboAddress->setCurrentIndex(1);
    w->cboAddress_Click();
    EXPECT_EQ(browser_->calls.last(), "Navigate " + page_);

    const std::pair<QString, QString> buttons[] = {
        {"Back", "GoBack"}, {"Forward", "GoForward"}, {"Refresh", "Refresh"}, {"Home", "GoHome"},
        {"Search", "GoSearch"}, {"Unknown", ""}, {"Stop", "Stop"},  // only Stop takes the page's title
    };
    for (const auto& [key, call] : buttons) {
        w->timTimer->stop();
        browser_->calls.clear();
        browser_->title = QStringLiteral("Page title");
        w->tbToolBar_ButtonClick(key);
        EXPECT_EQ(browser_->calls, call.isEmpty() ? QStringList{} : QStringList{call});
        EXPECT_EQ(w->timTimer->isActive(), key != "Stop") << key.toStdString();
        EXPECT_EQ(w->windowTitle(), key == "Stop" ? "Page title" : "B");
    }

    browser_->busy = true;
    w->timTimer_Timer();
    EXPECT_EQ(w->windowTitle(), "Working...");
    browser_->busy = false;
    w->timTimer_Timer();
    EXPECT_EQ(w->windowTitle(), "Page title");
    EXPECT_FALSE(w->timTimer->isActive());
}

// The buttons and the toolbar end what they end in the real window (e2e);
// here: in preview the display time leaves the page up.
TEST_F(frmZORWebTest, DisplayTimeInPreviewLeavesThePage) {
    const auto w = Load(page_, kRunModePreview, 45);
    w->show();
    w->KillTimer_Timer();
    EXPECT_FALSE(gEntryDone || w->isHidden());
}

// Twips at 96 DPI: 15 to the pixel.
TEST_F(frmZORWebTest, ResizeLayout) {
    const auto w = Load(page_);
    w->resize(830, 560);
    w->Form_Resize();
    // The width 100 short of the window's 12450, the height 500 short of what
    // the address strip leaves; both to whole pixels.
    EXPECT_EQ(platform::Geometry(*w->cboAddress).Width, 12345);
    const platform::TwipsRect page = w->brwWebBrowser->Geometry();
    EXPECT_EQ(QRectF(page.Left, page.Top, page.Width, page.Height), QRectF(45, 1650, 12345, 6315));
    w->resize(20, 20);  // too small for the page: it shrinks to nothing
    w->Form_Resize();
    EXPECT_EQ(w->brwWebBrowser->Geometry().Height, 0);
}

}  // namespace
