// The show's player where the machine gives it less than it would like:
// no second player for seamless changes.

#include <gtest/gtest.h>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

// Without a second player (its creation made to fail) the show plays on in
// the one player: three clips come round twice and the reason is logged once.
TEST_F(ShowE2E, TheShowPlaysOnWhenNoSecondPlayerCanBeMade) {
    const ScopedEnv fail("ZORSCR_FAIL_SECOND_PLAYER", "1");
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("red.mp4"), Entry("green.mp4"), Entry("blue.mp4")});
    for (int round = 1; round <= 2; ++round) {
        for (const QColor& c : {kRed, kGreen, kBlue})
            ASSERT_TRUE(screen_.Shows(kCentre, c)) << "round " << round << ' ' << qPrintable(c.name());
    }
    EXPECT_EQ(show->state(), QProcess::Running);
    const QString log = ReadText(program_.file("ZORError.Log"));
    EXPECT_EQ(log.count(QStringLiteral("second player for seamless changes")), 1) << qPrintable(log);
}

}  // namespace
