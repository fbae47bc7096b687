#include "platform/vb/VbError.h"

#include <gtest/gtest.h>

#include <new>

#include "platform/vb/EndProgram.h"

namespace {

using namespace Qt::StringLiterals;

TEST(VbErrorTest, ResumeNextRemembersTheLastSkippedError) {
    vb::Err().Clear();
    bool restOfStatementRan = false;
    vb::ResumeNext([&] {
        vb::Raise(vb::ErrNum::TypeMismatch);
        restOfStatementRan = true;
    });
    EXPECT_FALSE(restOfStatementRan);
    EXPECT_EQ(vb::Err().Number(), 13);
    EXPECT_EQ(vb::Err().Description(), u"Type mismatch"_s);

    // A statement that succeeds leaves Err as it was.
    bool ran = false;
    vb::ResumeNext([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(vb::Err().Number(), 13);
    EXPECT_EQ(vb::Err().Description(), u"Type mismatch"_s);

    vb::ResumeNext([] { vb::Raise(1001, u"Collection"_s, u"custom"_s); });
    EXPECT_EQ(vb::Err().Number(), 1001);
    EXPECT_EQ(vb::Err().Description(), u"custom"_s);
    EXPECT_EQ(vb::Err().Source(), u"Collection"_s);

    vb::ResumeNext([] { throw std::bad_alloc(); });
    EXPECT_EQ(vb::Err().Number(), 7);
    EXPECT_EQ(vb::Err().Description(), u"Out of memory"_s);
    EXPECT_EQ(vb::Err().Source(), QString());

    vb::Err().Clear();
    EXPECT_EQ(vb::Err().Number(), 0);
    EXPECT_EQ(vb::Err().Description(), QString());
}

TEST(VbErrorTest, ResumeNextDoesNotSwallowTheEndOfTheProgram) {
    vb::Err().Clear();
    EXPECT_THROW(vb::ResumeNext([] { throw vb::ProgramEnded{3}; }), vb::ProgramEnded);
    EXPECT_EQ(vb::Err().Number(), 0);
}

}  // namespace
