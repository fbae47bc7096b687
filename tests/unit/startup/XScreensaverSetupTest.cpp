#include "startup/XScreensaverSetup.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace {

const QByteArray kEntry = "  \"ZORScr\"  zorscr --root  \\n\\\n";

// The places of the entry in the list's other forms, and the entries that
// count as there already (expected empty).
TEST(XScreensaverSetupTest, InsertsTheEntryOrFindsIt) {
    const struct {
        QByteArray file, expected;
    } cases[] = {
        {"programs: qix -root", "programs:\t\\\n" + kEntry + " qix -root"},
        {"programs:\\\n qix -root \\n\\\n maze -root", "programs:\\\n" + kEntry + " qix -root \\n\\\n maze -root"},
        {"programs: \\\n qix -root \\n\\", "programs: \\\n qix -root \\n\\\n" + kEntry},
        {"a: \\\nprograms: x\n*programs: \\\n \"Z\" /opt/ZORScr -root \\n\\\n\n", ""},
        {"programs:\\\n-  GL:  \"My show\"  zorscr -root -- My.ini \\n\\\n\n", ""},
        {"programs: \"zorscr\" xzorscr -root\n", "programs:\t\\\n" + kEntry + " \"zorscr\" xzorscr -root\n"},
    };
    for (const auto& [file, expected] : cases)
        EXPECT_EQ(WithDisplayMode(file).value_or(""), expected) << file.toStdString();
}

}  // namespace
