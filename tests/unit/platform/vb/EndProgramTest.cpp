#include "platform/vb/EndProgram.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "support/TestSupport.h"

namespace {

TEST(EndProgramTest, HookTurnsTheEndIntoAnException) {
    const testsupport::CatchEndProgram catchEnd;
    for (const int code : {0, 4, 255}) {
        try {
            vb::EndProgram(code);
        } catch (const vb::ProgramEnded& e) {
            EXPECT_EQ(e.exitCode, code);
        }
    }
}

TEST(EndProgramTest, SetHookReturnsThePreviousOne) {
    int firstCalls = 0;
    const auto original = vb::SetEndProgramHook([&](int) { ++firstCalls; });
    const auto first = vb::SetEndProgramHook([](int code) { throw vb::ProgramEnded{code}; });
    ASSERT_TRUE(first);
    first(1);
    EXPECT_EQ(firstCalls, 1);
    vb::SetEndProgramHook(original);
}

struct WritesWhenDestroyed {
    ~WritesWhenDestroyed() { std::fputs(" destroyed", stdout); }
};

// The real end: buffered output is written, static destructors do not run.
TEST(EndProgramDeathTest, LeavesTheProcessWithTheCode) {
    const testsupport::TempFolder folder;
    const QString output = folder.file(QStringLiteral("stdout.txt"));
    EXPECT_EXIT(
        {
            vb::SetEndProgramHook({});
            static WritesWhenDestroyed sentinel;
            if (!std::freopen(output.toLocal8Bit().constData(), "w", stdout)) std::_Exit(100);
            std::fputs("pending", stdout);  // a file is fully buffered: nothing written yet
            vb::EndProgram(3);
        },
        testing::ExitedWithCode(3), "");
    EXPECT_EQ(testsupport::ReadBytes(output), QByteArray("pending"));
}

TEST(EndProgramDeathTest, EndsEvenWhenTheHookReturns) {
    EXPECT_EXIT(
        {
            vb::SetEndProgramHook([](int) {});
            vb::EndProgram(5);
        },
        testing::ExitedWithCode(5), "");
}

}  // namespace
