#pragma once
// The web page window: shows a web-page entry of the collection, or the help
// page, with an address box, a navigation toolbar and the show's buttons, and
// ends the entry after the display time.

#include <QWidget>
#include <memory>

#include "platform/web/BrowserEngine.h"
#include "web/brwWebBrowser.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;
class QToolBar;

namespace web {

class frmZORWeb : public QWidget {
public:
    // The load steps run here, on the page in gWebAddress.
    explicit frmZORWeb(std::unique_ptr<platform::BrowserEngine> engine = platform::NewWebEngineBrowser());
    ~frmZORWeb() override;

    bool PasswordExit();

    // The controls, by their design names.
    QToolBar* tbToolBar;
    QPushButton* Command2;
    QPushButton* Cmd_ContShow;
    QPushButton* Cmd_AddURL;
    QWidget* picAddress;
    QLabel* lblAddress;
    QComboBox* cboAddress;
    std::unique_ptr<web::brwWebBrowser> brwWebBrowser;
    QTimer* timTimer;
    QTimer* KillTimer;

    // The window's event handlers. The controls raise them; tests call them
    // directly.
    void Form_Load();
    void Form_Resize();
    void brwWebBrowser_DownloadComplete();
    void brwWebBrowser_NavigateComplete2(const QString& URL);
    void timTimer_Timer();
    void cboAddress_Click();
    void cboAddress_KeyPress(int KeyAscii);
    void tbToolBar_ButtonClick(const QString& key);
    void tbToolBar_MouseDown();
    void Cmd_ContShow_Click();
    void Command2_Click();
    void KillTimer_Timer();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolbar();
    void BuildAddressStrip();
    // Selecting a list item raises the address box's Click, as the list does
    // when its selection is set.
    void SelectAddress(int index);

    bool SuppressNavigation = false;
};

}  // namespace web
