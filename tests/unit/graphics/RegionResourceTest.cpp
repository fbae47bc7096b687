#include <gtest/gtest.h>

#include "platform/resources/ResourceName.h"

// cDIBSectionRegion::LoadFromResource, which reads resources, has no caller
// in the programs (tests/README.md); the rules for resource names stay tested.

// "#" and a decimal number up to 65535 name a number; any other text after
// "#" names nothing; a name is upper-cased.
TEST(RegionResource, NamesAndNumbers) {
    const std::pair<QString, QString> cases[] = {
        {"#101", "#101"}, {"#65535", "#65535"}, {"#65536", ""}, {"#99999999999", ""}, {"# 101", ""}, {"#+101", ""},
        {"#", ""}, {"", ""}, {"skin\u00dfe", "SKIN\u00dfE"},
    };
    for (const auto& [text, named] : cases) {
        const auto name = platform::ResourceName::FromText(text);
        EXPECT_EQ(name ? name->Text() : QString(), named) << text.toStdString();
    }
}
