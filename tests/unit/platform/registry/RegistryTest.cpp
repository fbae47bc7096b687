#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>
#include <sys/stat.h>
#include <thread>

#include "platform/registry/RegFile.h"
#include "platform/registry/SettingsStore.h"
#include "platform/registry/UserRegistry.h"
#include "platform/vb/VbError.h"
#include "support/TestSupport.h"

using namespace platform::registry;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

const QString kDesk = QStringLiteral("HKEY_CURRENT_USER\\Control Panel\\desktop");

QString Describe(const std::optional<RegValue>& v) {
    if (!v) return QStringLiteral("missing");
    if (v->type == ValueType::String) return u'"' + v->text + u'"';
    return v->type == ValueType::Dword ? QString::number(v->number) : QStringLiteral("other");
}

TEST(RegFileTest, ReadsWhatRegeditWritesAndSurvivesDamage) {
    const QByteArray head = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\desktop]\n";
    const struct { const char* what; QByteArray text; QString found; } rows[] = {
        {"text", head + "\"ScreenSaveUsePassword\"=\"1\"\n", "\"1\""},
        {"dword, names without case", "REGEDIT4\r\n[hkey_current_user\\control panel\\DESKTOP]\r\n\"screensaveusepassword\"=dword:0000000A\r\n", "10"},
        {"escapes", head + "\"ScreenSaveUsePassword\"=\"a\\\\b\\\"c\"\n", "\"a\\b\"c\""},
        {"hex is another type", head + "\"ScreenSaveUsePassword\"=hex:01,00,\\\n  00,00\n", "other"},
        {"dword not hexadecimal", head + "\"ScreenSaveUsePassword\"=dword:0000000g\n", "other"},
        {"dword too long", head + "\"ScreenSaveUsePassword\"=dword:000000001\n", "other"},
        {"unterminated quotes", head + "\"ScreenSaveUsePassword\"=\"1\n", "other"},
        {"unterminated name", head + "\"ScreenSaveUsePassword=\"1\"\n", "missing"},
        {"no equals sign", head + "\"ScreenSaveUsePassword\" \"1\"\n", "missing"},
        {"the last of duplicate keys counts", head + "\"ScreenSaveUsePassword\"=\"1\"\n[HKEY_CURRENT_USER\\Control Panel\\desktop]\n\"ScreenSaveUsePassword\"=\"0\"\n", "\"0\""},
        {"value outside any key", "REGEDIT4\n\"ScreenSaveUsePassword\"=\"0\"\n", "missing"},
        {"another key", "REGEDIT4\n[HKEY_CURRENT_USER\\Control Panel\\desktop\\x]\n\"ScreenSaveUsePassword\"=\"0\"\n", "missing"},
        {"version 5 header", "Windows Registry Editor Version 5.00\n" + head.sliced(8) + "\"ScreenSaveUsePassword\"=\"1\"\n", "\"1\""},
    };
    for (const auto& row : rows) {
        const auto file = RegFile::Parse(row.text);
        ASSERT_TRUE(file) << row.what;
        EXPECT_EQ(Describe(file->Find(kDesk, QStringLiteral("ScreenSaveUsePassword"))), row.found) << row.what;
    }
    const QString utf16Text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[") + kDesk +
                              QStringLiteral("]\r\n\"ScreenSaveUsePassword\"=\"\u00e9\"\r\n");
    const QByteArray utf16 = "\xFF\xFE" + QByteArray(QStringEncoder(QStringEncoder::Utf16LE)(utf16Text));
    EXPECT_EQ(Describe(RegFile::Parse(utf16)->Find(kDesk, QStringLiteral("ScreenSaveUsePassword"))), "\"\u00e9\"");
    for (const QByteArray& foreign : {QByteArray("[x]\n\"a\"=\"b\"\n"), QByteArray("REGEDIT4\0\x01\x02", 11),
                                      QByteArray("\xEF\xBB\xBF\xFF\xFE")})
        EXPECT_FALSE(RegFile::Parse(foreign)) << foreign.toHex().toStdString();
}

// A change touches its own line only; the file keeps encoding and line ends;
// any text comes back exactly.
TEST(RegFileTest, WritesChangeOnlyTheirValue) {
    const QByteArray original = "REGEDIT4\r\n; kept\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=hex:01,\\\r\n  02\r\n\"y\"=\"caf\xe9\"\r\n";
    const QString values[] = {QString(10000, u'p'), QStringLiteral("q\"u\\o=te\\\u00ff"), QStringLiteral("\u00fc\u4e2d \U0001F600"),
                              QString(), QStringLiteral(" spaced ")};
    for (const QString& text : values) {
        auto file = RegFile::Parse(original);
        ASSERT_TRUE(file->Set(QStringLiteral("HKEY_CURRENT_USER\\B\\C"), QStringLiteral("Hello"), {ValueType::String, text, 0}));
        const QByteArray bytes = file->Serialize();
        EXPECT_TRUE(bytes.startsWith("REGEDIT4\r\n; kept\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=hex:01,\\\r\n  02\r\n"));
        EXPECT_EQ(bytes.contains("caf\xe9"), !text.contains(u'\u4e2d'));  // Latin-1 kept while the text fits it
        EXPECT_EQ(RegFile::Parse(bytes)->Find(QStringLiteral("HKEY_CURRENT_USER\\A"), QStringLiteral("y"))->text,
                  QStringLiteral("caf\u00e9"));
        EXPECT_EQ(RegFile::Parse(bytes)->Find(QStringLiteral("hkey_current_user\\b\\c"), QStringLiteral("HELLO"))->text, text);
    }
    auto file = RegFile::Parse(original);
    ASSERT_TRUE(file->Set(QStringLiteral("HKEY_CURRENT_USER\\A"), QStringLiteral("x"), {ValueType::Dword, {}, 0xAB}));
    EXPECT_EQ(file->Serialize(), QByteArray("REGEDIT4\r\n; kept\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=dword:000000ab\r\n\"y\"=\"caf\xe9\"\r\n"));
    EXPECT_FALSE(file->Set(QStringLiteral("HKEY_CURRENT_USER\\A"), QStringLiteral("x"), {ValueType::String, "two\nlines", 0}));
    for (const auto& [key, name] : {std::pair{"HKEY_CURRENT_USER\\A]", "x"}, {"A\nB", "x"}, {"A\rB", "x"}, {"A", "x\ny"}, {"A", "x\ry"}})
        EXPECT_FALSE(file->Set(QString(key), QString(name), {ValueType::String, "t", 0})) << key << name;
    auto added = RegFile::Parse("REGEDIT4\n[A]\n\"x\"=\"1\"\n");
    ASSERT_TRUE(added->Set(QStringLiteral("B"), QStringLiteral("y"), {ValueType::String, "2", 0}));
    EXPECT_EQ(added->Serialize(), QByteArray("REGEDIT4\n[A]\n\"x\"=\"1\"\n\n[B]\n\"y\"=\"2\"\n\n"));
}

class StoreTest : public ::testing::Test {
protected:
    StoreTest() : env_("XDG_CONFIG_HOME", config_.path().toLocal8Bit()) {}
    static bool Saves(const QString& value) {
        try {
            SaveSetting(QStringLiteral("App"), QStringLiteral("S"), QStringLiteral("K"), value);
            return true;
        } catch (const vb::VbError& e) {
            EXPECT_EQ(e.number(), 75);
            return false;
        }
    }
    TempFolder config_;
    testsupport::ScopedEnv env_;
};

TEST_F(StoreTest, IsPrivateAndSharedByConcurrentWriters) {
    ASSERT_TRUE(Saves(QStringLiteral("secret")));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(StorePath()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(config_.file("ZORScr")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(GetSetting(QStringLiteral("APP"), QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("d")), "secret");
    QString why;
    SetValue(QStringLiteral("Software\\VB and VBA Program Settings\\App\\S"), QStringLiteral("N"), {ValueType::Dword, {}, 7}, &why);
    EXPECT_EQ(GetSetting(QStringLiteral("App"), QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("d")), "d");  // text only
    ::chmod(QFile::encodeName(StorePath()).constData(), 0644);
    ASSERT_TRUE(Saves(QStringLiteral("again")));
    ::stat(QFile::encodeName(StorePath()).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    constexpr int kWriters = 4, kEach = 25;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([w] {
            QString why;
            for (int i = 0; i < kEach; ++i)
                SetValue(QStringLiteral("K"), QStringLiteral("v%1_%2").arg(w).arg(i), {ValueType::Dword, {}, quint32(i)}, &why);
        });
    for (auto& t : writers) t.join();
    RegValue v;
    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(QueryValue(QStringLiteral("K"), QStringLiteral("v%1_%2").arg(w).arg(i), v), ReadResult::Found);
}

// What cannot be read reads as nothing; what cannot be written raises and
// leaves the file as it was.
TEST_F(StoreTest, StrangeFilesAreNeitherReadNorOverwritten) {
    QDir().mkpath(config_.file("ZORScr"));
    const struct { const char* what; std::function<void()> make; } cases[] = {
        {"foreign", [] { WriteBytes(StorePath(), "[HKEY_CURRENT_USER\\x]\n"); }},
        {"too large", [] { WriteBytes(StorePath(), "REGEDIT4\n" + QByteArray(kMaxStoreBytes, '\n')); }},
        {"read-only", [] { WriteBytes(StorePath(), "REGEDIT4\n"); ::chmod(QFile::encodeName(StorePath()).constData(), 0400); }},
        {"pipe", [] { ::mkfifo(QFile::encodeName(StorePath()).constData(), 0600); }},
        {"folder", [] { QDir().mkpath(StorePath()); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        const QByteArray before = QFileInfo(StorePath()).isFile() ? ReadBytes(StorePath()) : QByteArray();
        EXPECT_EQ(GetSetting(QStringLiteral("App"), QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d")), "d");
        EXPECT_FALSE(Saves(QStringLiteral("x")));
        if (QFileInfo(StorePath()).isFile()) {
            EXPECT_EQ(ReadBytes(StorePath()), before);
        }
        QFile::setPermissions(StorePath(), QFile::ReadOwner | QFile::WriteOwner);
        QDir(StorePath()).removeRecursively();
        QFile::remove(StorePath());
    }
}

}  // namespace
