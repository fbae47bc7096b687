#include <gtest/gtest.h>

#include "RegionBytes.h"
#include "graphics/cDIBSectionRegion.h"
#include "platform/resources/ResourceName.h"
#include "platform/vb/VbError.h"
#include "support/TestSupport.h"

using namespace graphics;

using graphicstest::RegionBytes;

namespace {

using Rects = std::vector<graphicstest::RECT>;
const Rects kNumbered = {{0, 0, 4, 2}, {1, 2, 3, 4}};  // also the test program's own
const Rects kNamed = {{5, 5, 6, 9}};

// A resource-only DLL with RCDATA 101 and SkinShape, made by MinGW-w64; arch is x86_64 or i686.
QString BuildDll(const testsupport::TempFolder& folder, const QString& arch) {
    testsupport::WriteBytes(folder.file("numbered.rgn"), RegionBytes::FromRects(kNumbered));
    testsupport::WriteBytes(folder.file("named.rgn"), RegionBytes::FromRects(kNamed));
    testsupport::WriteBytes(folder.file("skin.rc"), "101 RCDATA \"numbered.rgn\"\nSkinShape RCDATA \"named.rgn\"\n");
    const QString prefix = arch + "-w64-mingw32-", object = folder.file(arch + ".o"), dll = folder.file(arch + ".dll");
    testsupport::Tool(prefix + "windres", {"--preprocessor=cat", "-i", "skin.rc", "-o", object}, folder.path());
    testsupport::Tool(prefix + "ld", {"--dll", "-e", "0", "-o", dll, object}, folder.path());
    return dll;
}

// The rectangles of the region loaded, or the number of the error raised.
std::variant<Rects, qint32> Load(const QVariant& id, const QString& dll) {
    cDIBSectionRegion region;
    testsupport::TempFolder folder;
    try {
        if (!region.LoadFromResource(id, dll)) return -1;
        region.Save(folder.file("r.rgn"));
    } catch (const vb::VbError& e) {
        return e.number();
    }
    return RegionBytes::Rects(testsupport::ReadBytes(folder.file("r.rgn")));
}

}  // namespace

TEST(RegionResource, ComesFromTheProgramOrADll) {
    testsupport::TempFolder folder;
    testsupport::WriteBytes(folder.file("notes.dll"), "This is a text file.\n");
    for (const QString& arch : {QStringLiteral("x86_64"), QStringLiteral("i686")}) {
        const QString dll = BuildDll(folder, arch);
        const struct { QVariant id; QString module; std::variant<Rects, qint32> expected; } cases[] = {
            {101, {}, kNumbered},        {"testshape", {}, kNumbered},  {102, {}, 326},
            {101, dll, kNumbered},       {"101", dll, kNumbered},       {"#101", dll, kNumbered},
            {"skinshape", dll, kNamed},  {102, dll, 26014},             {"#70000", dll, 26014},
            {"skin", dll, 26014},
            {101, folder.file("notes.dll"), 26013}, {101, folder.file("none.dll"), 26013},
            {101, folder.path(), 26013},
        };
        for (const auto& c : cases)
            EXPECT_EQ(Load(c.id, c.module), c.expected) << arch.toStdString() << " " << c.id.toString().toStdString();
    }
}

TEST(RegionResource, BrokenDllsGiveTheirErrors) {
    testsupport::TempFolder folder;
    const QByteArray good = testsupport::ReadBytes(BuildDll(folder, "x86_64"));
    // Cut anywhere: an error of the two, or the region when it is all there.
    for (qsizetype length = 0; length < good.size(); length += 61) {
        testsupport::WriteBytes(folder.file("cut.dll"), good.first(length));
        const auto result = Load(101, folder.file("cut.dll"));
        if (const qint32* number = std::get_if<qint32>(&result)) {
            EXPECT_TRUE(*number == 26013 || *number == 26014) << length;
        } else {
            EXPECT_EQ(std::get<Rects>(result), kNumbered) << length;
        }
    }
}

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
