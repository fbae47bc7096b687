#include "web/frmZORWeb.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "config/Instances.h"
#include "config/LogError.h"
#include "password/PasswordExit.h"
#include "platform/ui/Twips.h"
#include "platform/ui/VbInput.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbError.h"
#include "platform/web/HelpPage.h"
#include "state/RunState.h"
#include "web/DisplayTime.h"

using namespace state;
using namespace config;
using namespace password;

namespace web {

using platform::TwipsRect;

namespace {

constexpr int kBusyPollMs = 5;

QPushButton* Button(QWidget* form, const QString& caption, const TwipsRect& place) {
    auto* button = new QPushButton(caption, form);
    platform::SetGeometry(*button, place);
    return button;
}

}  // namespace

frmZORWeb::frmZORWeb(std::unique_ptr<platform::BrowserEngine> engine)
    : tbToolBar(new QToolBar(this)),
      Command2(Button(this, QStringLiteral("Quit Show"), {9000, 60, 1815, 495})),
      Cmd_ContShow(Button(this, QStringLiteral("Continue Show"), {6240, 60, 1815, 495})),
      Cmd_AddURL(Button(this, QStringLiteral("Add URL to Collection"), {4320, 60, 1815, 495})),
      picAddress(new QWidget(this)),
      lblAddress(new QLabel(QStringLiteral("&Address:"), picAddress)),
      cboAddress(new QComboBox(picAddress)),
      brwWebBrowser(std::make_unique<web::brwWebBrowser>(*this, std::move(engine))),
      timTimer(new QTimer(this)),
      KillTimer(new QTimer(this)) {
    setWindowTitle(QStringLiteral("ZOR Help Browser"));
    resize(static_cast<int>(12450 / platform::TwipsPerPixelX()), static_cast<int>(8400 / platform::TwipsPerPixelY()));
    BuildToolbar();
    BuildAddressStrip();
    for (QPushButton* button : {Cmd_AddURL, Cmd_ContShow, Command2}) button->raise();  // they sit on the toolbar
    brwWebBrowser->SetGeometry({45, 1650, 0, 0});

    connect(Cmd_ContShow, &QPushButton::clicked, this, [this] { Cmd_ContShow_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    brwWebBrowser->DownloadComplete() = [this] { brwWebBrowser_DownloadComplete(); };
    brwWebBrowser->NavigateComplete2() = [this](const QString& url) { brwWebBrowser_NavigateComplete2(url); };
    // The page's display time still ends the entry; the log says why it stayed empty.
    brwWebBrowser->PageFailed() = [](const QString& address, const QString& why) {
        LogError(QStringLiteral("The web page %1 cannot be shown: %2").arg(address, why), false);
    };
    timTimer->setInterval(kBusyPollMs);
    connect(timTimer, &QTimer::timeout, this, [this] { timTimer_Timer(); });
    KillTimer->setSingleShot(true);  // the display time runs once per load
    connect(KillTimer, &QTimer::timeout, this, [this] { KillTimer_Timer(); });

    Form_Load();
}

frmZORWeb::~frmZORWeb() = default;

void frmZORWeb::BuildToolbar() {
    platform::SetGeometry(*tbToolBar, {0, 0, 12450, 660});
    tbToolBar->setMovable(false);
    const std::pair<const char*, QStyle::StandardPixmap> buttons[] = {
        {"Back", QStyle::SP_ArrowBack},         {"Forward", QStyle::SP_ArrowForward},
        {"Stop", QStyle::SP_BrowserStop},       {"Refresh", QStyle::SP_BrowserReload},
        {"Home", QStyle::SP_DirHomeIcon},       {"Search", QStyle::SP_FileDialogContentsView},
    };
    for (const auto& [key, icon] : buttons) {
        QAction* button = tbToolBar->addAction(style()->standardIcon(icon), QString::fromLatin1(key));
        button->setData(QString::fromLatin1(key));
        button->setToolTip(QString::fromLatin1(key));
    }
    connect(tbToolBar, &QToolBar::actionTriggered, this,
            [this](QAction* button) { tbToolBar_ButtonClick(button->data().toString()); });
    // Presses on the bar itself; the buttons take their own.
    tbToolBar->installEventFilter(this);
}

void frmZORWeb::BuildAddressStrip() {
    platform::SetGeometry(*picAddress, {0, 660, 12450, 930});
    picAddress->setAutoFillBackground(true);
    picAddress->setBackgroundRole(QPalette::Midlight);
    platform::SetGeometry(*lblAddress, {60, 60, 3000, 255});
    lblAddress->setBuddy(cboAddress);
    cboAddress->setEditable(true);
    cboAddress->setInsertPolicy(QComboBox::NoInsert);  // the window keeps the list itself
    cboAddress->setEditText(QStringLiteral("Combo1"));
    platform::SetGeometry(*cboAddress, {50, 0, 12350, 315});
    connect(cboAddress, &QComboBox::activated, this, [this] { cboAddress_Click(); });
    cboAddress->lineEdit()->installEventFilter(this);
}

bool frmZORWeb::PasswordExit() { return password::PasswordExit(); }

void frmZORWeb::Form_Load() {
    vb::ResumeNext([&] {
        tbToolBar->update();
        Form_Resize();
    });
    vb::ResumeNext([&] { KillTimer->stop(); });
    vb::ResumeNext([&] {
        TwipsRect combo = platform::Geometry(*cboAddress);
        const TwipsRect label = platform::Geometry(*lblAddress);
        combo.Left = 50;
        combo.Top = label.Top + label.Height + 15;
        platform::SetGeometry(*cboAddress, combo);
    });
    vb::ResumeNext([&] {
        const bool helpMode = gWebAddress == platform::HelpPagePath();
        Cmd_AddURL->setVisible(false);
        Cmd_ContShow->setVisible(!helpMode);
        if (helpMode) Command2->setVisible(false);
    });
    if (gWebAddress.isEmpty()) return;  // no page, and no display time
    vb::ResumeNext([&] {
        cboAddress->setEditText(gWebAddress);
        cboAddress->addItem(cboAddress->currentText());
    });
    vb::ResumeNext([&] {
        timTimer->start();
        brwWebBrowser->Navigate(gWebAddress);
    });
    vb::ResumeNext([&] {
        if (gSettings().DelayTimer() == 0) {
            KillTimer->stop();  // the page stays until the user acts
            return;
        }
        if (gSettings().DelayTimer() < kShortestDisplayTime) gSettings().LetDelayTimer(kShortestDisplayTime);
        if (gSettings().DelayTimer() > 0) {
            KillTimer->setInterval(gSettings().DelayTimer() * 1000);
            KillTimer->start();
        }
    });
}

void frmZORWeb::Form_Resize() {
    const float innerWidth = platform::ScaleWidth(*this);
    const float innerHeight = platform::ScaleHeight(*this);
    TwipsRect combo = platform::Geometry(*cboAddress);
    combo.Width = innerWidth - 100;
    platform::SetGeometry(*cboAddress, combo);
    const TwipsRect strip = platform::Geometry(*picAddress);
    TwipsRect page = brwWebBrowser->Geometry();
    page.Width = innerWidth - 100;
    page.Height = innerHeight - (strip.Top + strip.Height) - 500;
    brwWebBrowser->SetGeometry(page);
}

void frmZORWeb::brwWebBrowser_DownloadComplete() { setWindowTitle(brwWebBrowser->LocationName()); }

void frmZORWeb::brwWebBrowser_NavigateComplete2(const QString&) {
    setWindowTitle(brwWebBrowser->LocationName());
    const QString here = brwWebBrowser->LocationURL();
    const int found = cboAddress->findText(here, Qt::MatchExactly | Qt::MatchCaseSensitive);
    SuppressNavigation = true;
    if (found >= 0) cboAddress->removeItem(found);
    cboAddress->insertItem(0, here);
    SelectAddress(0);
    SuppressNavigation = false;
}

void frmZORWeb::SelectAddress(int index) {
    cboAddress->setCurrentIndex(index);
    cboAddress_Click();
}

void frmZORWeb::timTimer_Timer() {
    if (brwWebBrowser->Busy()) {
        setWindowTitle(QStringLiteral("Working..."));
    } else {
        timTimer->stop();
        setWindowTitle(brwWebBrowser->LocationName());
    }
}

void frmZORWeb::cboAddress_Click() {
    if (SuppressNavigation) return;
    timTimer->start();
    brwWebBrowser->Navigate(cboAddress->currentText());
}

void frmZORWeb::cboAddress_KeyPress(int KeyAscii) {
    if (KeyAscii == platform::kKeyReturn) cboAddress_Click();
}

void frmZORWeb::tbToolBar_ButtonClick(const QString& key) {
    timTimer->start();
    if (key == QStringLiteral("Back")) {
        brwWebBrowser->GoBack();
    } else if (key == QStringLiteral("Forward")) {
        brwWebBrowser->GoForward();
    } else if (key == QStringLiteral("Refresh")) {
        brwWebBrowser->Refresh();
    } else if (key == QStringLiteral("Home")) {
        brwWebBrowser->GoHome();
    } else if (key == QStringLiteral("Search")) {
        brwWebBrowser->GoSearch();
    } else if (key == QStringLiteral("Stop")) {
        timTimer->stop();
        brwWebBrowser->Stop();
        setWindowTitle(brwWebBrowser->LocationName());
    }
}

void frmZORWeb::tbToolBar_MouseDown() {
    if (RunningShow()) {
        if (!PasswordExit()) vb::EndProgram();
    } else {
        vb::EndProgram();
    }
}

void frmZORWeb::Cmd_ContShow_Click() {
    FinishEntry();
    hide();
}

void frmZORWeb::Command2_Click() {
    if (QuitRefused()) return;  // a guarded show ends only with its password
    StopShow();
    gNavPos = static_cast<qint16>(gMovies().Count());
    hide();
}

void frmZORWeb::KillTimer_Timer() {
    if (InPreview()) return;  // in preview the page stays
    FinishEntry();
    hide();
}

void frmZORWeb::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

bool frmZORWeb::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tbToolBar && event->type() == QEvent::MouseButtonPress) {
        tbToolBar_MouseDown();
        return true;
    }
    if (watched == cboAddress->lineEdit() && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (!typed.isEmpty()) {
            cboAddress_KeyPress(typed.front().unicode());
            return typed.front() == u'\r';  // Enter is the window's; the box must not act on it again
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace web
