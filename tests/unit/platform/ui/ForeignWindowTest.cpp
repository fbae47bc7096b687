#include <gtest/gtest.h>

#include <QProcess>
#include <tuple>

#include "platform/ui/ForeignWindow.h"
#include "platform/ui/HostWindow.h"
#include "support/TestSupport.h"

#include <X11/Xlib.h>  // last: its macros name Qt's event types

// Another program's window on the display DISPLAY names: its size and
// centre, the root window for 0, and nothing for an id that names no window.
TEST(ForeignWindowTest, SizeAndPlaceOnTheDisplay) {
    QProcess server;  // a free display number from the server
    server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "640x480x24"});
    ASSERT_TRUE(server.waitForReadyRead(20000));
    const testsupport::ScopedEnv name("DISPLAY", ':' + server.readLine().trimmed());
    Display* x = XOpenDisplay(nullptr);
    ASSERT_TRUE(x);
    const Window host = XCreateSimpleWindow(x, DefaultRootWindow(x), 100, 100, 400, 300, 0, 0, 0);
    XSync(x, False);
    for (const auto& [id, exists, width] : {std::tuple{0ul, true, 640}, {host, true, 400}, {host + 99, false, 0}}) {
        const platform::HostWindowFacts facts = platform::LookUpHostWindow(id);
        EXPECT_EQ(std::tuple(facts.exists, facts.width, facts.screen), std::tuple(exists, width, 0)) << id;
    }
    EXPECT_EQ(platform::GetClientRect(host).bottom, 300);
    EXPECT_EQ(platform::ForeignWindowCentre(host), QPoint(300, 250));
    XCloseDisplay(x);
    server.terminate();
    server.waitForFinished();
}
