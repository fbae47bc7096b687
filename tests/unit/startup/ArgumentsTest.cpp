// The command line: the host's arguments, the show switches and the idle mode's.

#include <gtest/gtest.h>

#include "platform/ui/HostWindow.h"
#include "startup/HostArguments.h"
#include "startup/IdleMode.h"
#include "startup/ShowSwitches.h"
#include "startup/Switches.h"

using namespace startup;
using state::ShowOptions;

namespace {

// Each case: arguments, XSCREENSAVER_WINDOW (null: unset), then window,
// collection and whether an error is reported; "-" for a Windows-style start.
TEST(HostArgumentsTest, SwitchesWindowsAndCollections) {
    const struct { QStringList arguments; const char* screensaverWindow; QString expected; } cases[] = {
        {{"/S"}, "0x400008", "-"},
        {{"--root"}, nullptr, "0||"},
        {{"--root"}, "", "0||"},
        {{"-root", "/home/a/My", "Shows.ini"}, "0x400008", "4194312|/home/a/My Shows.ini|"},
        {{"--root"}, "0x", "0||error"},
        {{"--root"}, "0", "0||error"},
        {{"--root"}, "4294967296", "0||error"},
        {{"--root"}, "0xFFFFFFFF", "4294967295||"},
        {{"--window-id", "0x1e00003"}, "0x400008", "31457283||"},
        {{"Shows.ini", "-window-id", "77"}, nullptr, "77|Shows.ini|"},
        {{"--root", "--", "/tmp/-root x.ini"}, nullptr, "0|/tmp/-root x.ini|"},
        {{"--window-id"}, nullptr, "0||error"},
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

// Every show switch is read in both spellings, anywhere before the
// collection; a wrong value is a usage error naming what it takes.
TEST(ShowSwitches, AreReadBeforeTheCollection) {
    const struct { QStringList arguments; QString error; QStringList rest; } cases[] = {  // error empty: read
        {{"--shuffle", "--resume", "Shows.ini"}, "", {"Shows.ini"}},
        {{"--on-battery", "still", "--fill", "--no-hwdec", "/S"}, "", {"/S"}},
        {{"--on-battery=black", "--root", "--", "x.ini"}, "", {"--root", "--", "x.ini"}},
        {{"--on-battery", "sometimes"}, "--on-battery takes play|still|black, not \"sometimes\"", {}},
        {{"--on-battery"}, "--on-battery needs play|still|black", {}},
        {{"--monitors=mirror", "--monitors", "each", "/S"}, "", {"/S"}},
        {{"--shuffle=yes"}, "--shuffle takes no value", {}},
        {{"--crossfade=1500", "x.ini"}, "", {"x.ini"}},
        {{"--crossfade", "10001"}, "--crossfade takes milliseconds from 0 to 10000, not \"10001\"", {}},
        {{"--crossfade", "1.5"}, "--crossfade takes milliseconds from 0 to 10000, not \"1.5\"", {}},
        {{"--", "--shuffle"}, "", {"--", "--shuffle"}},  // after "--" it is the collection's name
        {{"--setup", "xscreensaver"}, "xscreensaver", {}},  // the value is setup's target
    };
    for (const auto& c : cases) {
        const Switches read = ReadSwitches(c.arguments);
        EXPECT_EQ(read.value, c.error) << c.arguments.join(u' ').toStdString();
        if (!c.error.isEmpty()) continue;
        EXPECT_EQ(read.rest, c.rest);
        // A copy of the program started with the options given back reads the same options.
        const Switches again = ReadSwitches(ShowSwitchArguments(read.options));
        EXPECT_EQ(ShowSwitchArguments(again.options), ShowSwitchArguments(read.options));
    }
    // Exactly the options that differ from the defaults are given back.
    const ShowOptions options = ReadSwitches({"--shuffle", "--on-battery", "still", "--no-hwdec"}).options;
    EXPECT_EQ(ShowSwitchArguments(options), QStringList({"--shuffle", "--no-hwdec", "--on-battery", "still"}));
    EXPECT_TRUE(ShowSwitchArguments(ShowOptions{}).isEmpty());

    // The idle mode reads them after its seconds, and hands them to each show.
    const std::optional<IdleArguments> idle = ReadIdleArguments({"--idle", "5", "--shuffle", "--", "x.ini"});
    ASSERT_TRUE(idle && idle->error.isEmpty());
    EXPECT_TRUE(idle->options.shuffle);
    EXPECT_EQ(idle->collection, "x.ini");
    EXPECT_EQ(ReadIdleArguments({"--idle", "5", "--on-battery", "x"})->error, "--on-battery takes play|still|black, not \"x\"");
}

}  // namespace
