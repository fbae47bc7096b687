#pragma once
// A browser for the page window's unit tests: records what it was asked to
// do, answers with the state the test gives it, and raises the events when
// the test says so.

#include <QStringList>
#include <QWidget>

#include "platform/web/BrowserEngine.h"

namespace testsupport {

class FakeBrowserEngine : public platform::BrowserEngine {
public:
    QWidget& View() override { return view_; }
    void Navigate(const QString& address) override { calls << QStringLiteral("Navigate ") + address; }
    void GoBack() override { calls << QStringLiteral("GoBack"); }
    void GoForward() override { calls << QStringLiteral("GoForward"); }
    void GoHome() override { calls << QStringLiteral("GoHome"); }
    void GoSearch() override { calls << QStringLiteral("GoSearch"); }
    void Refresh() override { calls << QStringLiteral("Refresh"); }
    void Stop() override { calls << QStringLiteral("Stop"); }
    QString LocationName() const override { return title; }
    QString LocationURL() const override { return url; }
    bool Busy() const override { return busy; }

    // Arrives at address with the given title, as a finished load does.
    void Arrive(const QString& address, const QString& pageTitle) {
        url = address;
        title = pageTitle;
        NavigateComplete2(address);
        DownloadComplete();
    }

    QStringList calls;
    QString title, url;
    bool busy = false;

private:
    QWidget view_;
};

}  // namespace testsupport
