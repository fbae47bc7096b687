#include <gtest/gtest.h>

#include "password/PasswordExit.h"
#include "password/PasswordStore.h"
#include "password/frmLogin.h"
#include "password/frmpwd.h"
#include "platform/registry/SettingsStore.h"
#include "platform/registry/UserRegistry.h"
#include "platform/ui/Cursor.h"
#include "state/RunState.h"
#include "support/TestSupport.h"

using namespace state;
using namespace password;

using namespace platform::registry;

namespace {

class PasswordTest : public testsupport::ProgramFolderTest {
protected:
    PasswordTest() : env_("XDG_CONFIG_HOME", store_.path().toLocal8Bit()) { env_.Set("ZORSCR_PLATFORM", {}); }
    static void Switch(const RegValue& value) {
        QString why;
        ASSERT_TRUE(SetValue(QStringLiteral("Control Panel\\desktop"), QStringLiteral("ScreenSaveUsePassword"), value, &why));
    }

    testsupport::TempFolder store_;
    testsupport::ScopedEnv env_;
};

TEST_F(PasswordTest, InForceOnlyOnTheGuardlessPlatformsAndWithoutTheSwitchOff) {
    const struct { const char* what; const char* platform; std::function<void()> store; bool inForce; QString password; } rows[] = {
        {"nothing stored", "98", [] {}, true, "marigolds"},
        {"switch text 0", "95", [] { Switch({ValueType::String, "0", 0}); }, false, ""},
        {"switch number 0", "98", [] { Switch({ValueType::Dword, {}, 0}); }, false, ""},
        {"switch 1, stored", "98", [] { Switch({ValueType::String, "1", 0}); SaveSetting("Zorascope", "Settings", "Hello", "Pw"); }, true, "Pw"},
        {"switch of another type", "98", [] {
             testsupport::WriteBytes(StorePath(), "REGEDIT4\n[HKEY_CURRENT_USER\\Control Panel\\desktop]\n\"ScreenSaveUsePassword\"=hex:00\n"); }, true, "marigolds"},
        {"stored empty", "98", [] { SaveSetting("Zorascope", "Settings", "Hello", ""); }, false, ""},
        {"NT", "NT", [] {}, false, "kept"},
        {"unset", nullptr, [] {}, false, "kept"},
    };
    for (const auto& row : rows) {
        QFile::remove(StorePath());
        env_.Set("ZORSCR_PLATFORM", row.platform ? QByteArray(row.platform) : QByteArray());
        row.store();
        gPassword = QStringLiteral("kept");
        DecidePasswordInForce();
        EXPECT_EQ(gUsePassword, row.inForce) << row.what;
        EXPECT_EQ(gPassword, row.password) << row.what;
    }
}

TEST_F(PasswordTest, TheCheckAcceptsTheTrimmedPasswordAndOtherwiseKeepsTheShowGoing) {
    gUsePassword = true;
    gPassword = QStringLiteral("Pass word");
    frmpwd& check = Thefrmpwd();
    const struct { QString typed; bool ends; } rows[] = {
        {"pass word", false}, {"Pass word ", true}, {"  Pass word", true}, {"Pass  word", false}, {"", false}};
    for (const auto& row : rows) {
        gQuit = gStopRequest = gEntryDone = true;
        check.txtoripwd->setText(row.typed);
        EXPECT_EQ(EndsProgram([&] { check.cmdOK_Click(); }), row.ends) << row.typed.toStdString();
        if (row.ends) continue;
        EXPECT_FALSE(gQuit || gStopRequest || gEntryDone);
        EXPECT_EQ(boxes_.takeLast(), "ZOR Screensaver Password: Incorrect Password !");
        EXPECT_EQ(check.txtoripwd->selectedText(), row.typed);  // typing replaces it
    }
    // In the secure mode a wrong password closes the dialog, which is made anew.
    gSecureMode = true;
    const int cursor = platform::CursorDisplayCount();
    check.txtoripwd->setText(QStringLiteral("no"));
    check.cmdOK_Click();
    EXPECT_EQ(platform::CursorDisplayCount(), cursor - 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Thefrmpwd().txtoripwd->text().isEmpty());
    gQuit = true;
    Thefrmpwd().cmdCancel_Click();
    EXPECT_FALSE(gQuit);
    gUsePassword = false;
    EXPECT_FALSE(PasswordExit());
}

TEST_F(PasswordTest, SettingAPasswordNeedsTwoEqualEntries) {
    frmLogin login;
    login.txtoripwd->setText(QStringLiteral(" new "));
    login.txtnewPwd->setText(QStringLiteral("New"));
    login.cmdOK_Click();
    EXPECT_EQ(boxes_.value(0), "ZOR Screensaver Password: Sorry the passwords do not match, try again!");
    EXPECT_FALSE(login.OK);
    EXPECT_EQ(login.txtnewPwd->text(), "New");
    login.txtnewPwd->setText(QStringLiteral("new"));
    login.cmdOK_Click();
    EXPECT_TRUE(login.OK);
    EXPECT_EQ(GetSetting("Zorascope", "Settings", "Hello"), "new");
    login.cmdCancel_Click();
    EXPECT_FALSE(login.OK);  // a store that cannot be written: PasswordE2E
}

}  // namespace
