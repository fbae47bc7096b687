#pragma once
// A test fixture for code that works on the program's run state: a fresh
// program folder, a fresh run state, and EndProgram caught as ProgramEnded.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QString>

#include "support/TestSupport.h"

namespace testsupport {

class ProgramFolderTest : public ::testing::Test {
protected:
    ProgramFolderTest();
    ~ProgramFolderTest() override;

    QString ProgramFile(const QString& name) const { return folder_.file(name); }
    // True when text equals the log record of message at any second between
    // the test's start and now.
    bool IsLogRecordOf(const QString& text, const QString& message) const;

    TempFolder folder_;
    CatchEndProgram catchEnd_;
    QDateTime started_;
};

}  // namespace testsupport
