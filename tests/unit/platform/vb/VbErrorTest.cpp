#include "platform/vb/VbError.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "platform/vb/EndProgram.h"

namespace {

using namespace Qt::StringLiterals;

TEST(VbErrorTest, StandardDescriptions) {
    const struct {
        qint32 number;
        const char* description;
    } rows[] = {
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {7, "Out of memory"},
        {9, "Subscript out of range"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {52, "Bad file name or number"},
        {53, "File not found"},
        {70, "Permission denied"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {0, "Application-defined or object-defined error"},
        {1000, "Application-defined or object-defined error"},
        {vb::ErrNum::ObjectErrorBase + 513, "Application-defined or object-defined error"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.number);
        EXPECT_EQ(vb::StandardDescription(row.number), QString::fromLatin1(row.description));
        const vb::VbError e(row.number);
        EXPECT_EQ(e.description(), QString::fromLatin1(row.description));
        EXPECT_EQ(std::string(e.what()), std::to_string(row.number) + ": " + row.description);
    }
}

TEST(VbErrorTest, RaiseCarriesNumberSourceAndDescription) {
    const struct {
        qint32 number;
        QString source, description;
        QString expectedDescription;
        std::string expectedWhat;
    } rows[] = {
        {1001, u"Collection"_s, u"Fehler ä"_s, u"Fehler ä"_s, "1001: Fehler \xC3\xA4"},
        {53, u"Collection"_s, {}, u"File not found"_s, "53: File not found"},
        {vb::ErrNum::ObjectErrorBase + 1, {}, u"custom"_s, u"custom"_s, "-2147221503: custom"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.number);
        try {
            vb::Raise(row.number, row.source, row.description);
            ADD_FAILURE() << "Raise returned";
        } catch (const vb::VbError& e) {
            EXPECT_EQ(e.number(), row.number);
            EXPECT_EQ(e.source(), row.source);
            EXPECT_EQ(e.description(), row.expectedDescription);
            EXPECT_EQ(std::string(e.what()), row.expectedWhat);
        }
    }
}

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
