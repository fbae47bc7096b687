#include "startup/HostArguments.h"

#include <gtest/gtest.h>

#include "platform/ui/HostWindow.h"

using namespace startup;

namespace {

// Each case: arguments, XSCREENSAVER_WINDOW (null: unset), then window,
// collection and whether an error is reported; "-" for a Windows-style start.
TEST(HostArgumentsTest, SwitchesWindowsAndCollections) {
    const struct {
        QStringList arguments;
        const char* screensaverWindow;
        QString expected;
    } cases[] = {
        {{"/S"}, "0x400008", "-"},
        {{}, nullptr, "-"},
        {{"--root"}, nullptr, "0||"},
        {{"--root"}, "", "0||"},
        {{"-root", "/home/a/My", "Shows.ini"}, "0x400008", "4194312|/home/a/My Shows.ini|"},
        {{"--root"}, "4194312", "4194312||"},
        {{"--root"}, "0x", "0||error"},
        {{"--root"}, "0", "0||error"},
        {{"--root"}, "4294967296", "0||error"},
        {{"--root"}, "0xFFFFFFFF", "4294967295||"},
        {{"--window-id", "0x1e00003"}, "0x400008", "31457283||"},
        {{"Shows.ini", "-window-id", "77"}, nullptr, "77|Shows.ini|"},
        {{"--root", "--", "/tmp/-root x.ini"}, nullptr, "0|/tmp/-root x.ini|"},
        {{"--root", "--", "--window-id", "5"}, nullptr, "0|--window-id 5|"},
        {{"--window-id"}, nullptr, "0||error"},
        {{"--window-id", "-12"}, nullptr, "0||error"},
        {{"--window-id", "12abc"}, nullptr, "0||error"},
    };
    for (const auto& [arguments, screensaverWindow, expected] : cases) {
        const auto host = ReadHostArguments(
            arguments, screensaverWindow ? std::optional<QString>(screensaverWindow) : std::nullopt);
        const QString seen = host ? QStringLiteral("%1|%2|%3").arg(host->window).arg(host->collection,
                                                                            host->error.isEmpty() ? "" : "error")
                                  : QStringLiteral("-");
        EXPECT_EQ(seen, expected) << qPrintable(arguments.join(u' '));
    }
}

TEST(HostArgumentsTest, DisplayOnTheHostsScreen) {
    const std::tuple<QString, int, QString> cases[] = {
        {":0", 1, ":0.1"}, {":0.1", 0, ":0.0"}, {"host:12.0", 2, "host:12.2"}, {"[::1]:3", 1, "[::1]:3.1"}, {"", 1, ""},
    };
    for (const auto& [display, screen, expected] : cases) EXPECT_EQ(platform::DisplayOnScreen(display, screen), expected);
}

}  // namespace
