#include <gtest/gtest.h>

#include "startup/IdleMode.h"
#include "startup/ShowSwitches.h"
#include "startup/Switches.h"

using namespace startup;
using state::ShowOptions;

namespace {

// Every show switch is read in both spellings, anywhere before the
// collection; a wrong value is a usage error naming what it takes.
TEST(ShowSwitches, AreReadBeforeTheCollection) {
    struct Case {
        QStringList arguments;
        QString error;  // part of the usage error; empty: read
        QStringList rest;
    };
    const Case cases[] = {
        {{"--shuffle", "--resume", "Shows.ini"}, "", {"Shows.ini"}},
        {{"--on-battery", "still", "--fill", "--no-hwdec", "/S"}, "", {"/S"}},
        {{"--on-battery=black", "--root", "--", "x.ini"}, "", {"--root", "--", "x.ini"}},
        {{"--on-battery", "sometimes"}, "--on-battery takes play|still|black, not \"sometimes\"", {}},
        {{"--on-battery"}, "--on-battery needs play|still|black", {}},
        {{"--monitors=mirror", "--monitors", "each", "/S"}, "", {"/S"}},
        {{"--monitors", "all"}, "--monitors takes primary|each|mirror, not \"all\"", {}},
        {{"--shuffle=yes"}, "--shuffle takes no value", {}},
        {{"--crossfade=1500", "x.ini"}, "", {"x.ini"}},
        {{"--crossfade", "10001"}, "--crossfade takes milliseconds from 0 to 10000, not \"10001\"", {}},
        {{"--crossfade", "1.5"}, "--crossfade takes milliseconds from 0 to 10000, not \"1.5\"", {}},
        {{"--", "--shuffle"}, "", {"--", "--shuffle"}},  // after "--" it is the collection's name
    };
    for (const Case& c : cases) {
        const Switches read = ReadSwitches(c.arguments);
        EXPECT_EQ(read.value, c.error) << c.arguments.join(u' ').toStdString();
        if (!c.error.isEmpty()) continue;
        EXPECT_EQ(read.rest, c.rest);
        // A copy of the program started with the options given back reads the same options.
        const Switches again = ReadSwitches(ShowSwitchArguments(read.options));
        EXPECT_EQ(ShowSwitchArguments(again.options), ShowSwitchArguments(read.options));
    }
    const ShowOptions options = ReadSwitches({"--shuffle", "--on-battery", "still", "--no-hwdec"}).options;
    EXPECT_TRUE(options.shuffle);
    EXPECT_FALSE(options.resume);
    EXPECT_FALSE(options.hardwareDecoding);
    EXPECT_EQ(options.onBattery, ShowOptions::OnBattery::Still);
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
