// --on-battery end to end, with UPower faked on a private system bus.

#include <gtest/gtest.h>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

// Whether the place never shows colour during ms.
bool NeverShows(const VirtualDisplay& screen, QPoint at, const QColor& colour, int ms) {
    PixelProbe probe(screen.name());
    return !WaitUntil([&] { return VirtualDisplay::Near(probe.At(at.x(), at.y()), colour); }, ms, 50);
}

// A clip red for its first second, then green: held at its first picture
// it stays red; played it turns green. Black shows neither.
TEST_F(ShowE2E, OnBatteryHoldsOrBlanksEachClip) {
    MakeClip(program_.file("red-then-green.mp4"),
             ColourSource(kRed) + ",drawbox=c=0x20A040:t=fill:enable='gte(t,1)'", 4);
    struct Case {
        const char* rule;
        const char* upower;  // OnBattery, or nullptr: no UPower on the bus
        QColor shown, never;  // never: invalid when the clip plays
    };
    for (const Case& c : {Case{"black", "true", Qt::black, kRed}, Case{"still", "true", kRed, kGreen},
                          Case{"still", "false", kGreen, {}}, Case{"black", nullptr, kGreen, {}}}) {
        SCOPED_TRACE(QStringLiteral("%1, OnBattery %2").arg(c.rule, c.upower ? c.upower : "unknown").toStdString());
        const PrivateBus bus("DBUS_SYSTEM_BUS_ADDRESS", c.upower ? QStringList{FAKE_DBUS, "upower", c.upower} : QStringList{});
        ASSERT_TRUE(bus.Serves());
        QFile::remove(program_.file("ZORError.Log"));
        const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("red-then-green.mp4")},
                                {"/S", "--on-battery", c.rule});
        EXPECT_TRUE(screen_.Shows(kCentre, c.shown));
        // Over two still delays of 2 s: the entry came again at least once.
        EXPECT_TRUE(!c.never.isValid() || NeverShows(screen_, kCentre, c.never, 5000));
        EXPECT_EQ(show->state(), QProcess::Running);
        EXPECT_LE(ReadText(program_.file("ZORError.Log")).count(u'\n'), c.upower ? 0 : 1);
    }
}

}  // namespace
