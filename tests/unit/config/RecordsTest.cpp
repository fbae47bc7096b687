// The settings record, the entry record, their values and the rules of where
// an entry is.

#include <gtest/gtest.h>

#include <QObject>

#include "config/EntryAddress.h"
#include "config/Movie.h"
#include "config/ZOR2.h"
#include "errors/modErrorHandling.h"
#include "platform/vb/VbError.h"
#include "support/QtPrinters.h"

namespace {

TEST(ZOR2Record, SpecialPropertiesAndDirtyRules) {
    ZOR2 s;
    EXPECT_TRUE(s.SoundCard().IsEmpty() && !s.IsDirty());
    s.LetProgramVersion(QStringLiteral("2.0"));
    EXPECT_EQ(s.ProgramVersion(), u"2.0 - beta");
    s.LetProgramVersion(QStringLiteral("2.1"));
    EXPECT_EQ(s.ProgramVersion(), u"2.1");
    s.LetShowAnimtext(true);
    EXPECT_FALSE(s.ShowAnimtext());
    auto object = std::make_shared<QObject>();
    s.SetSoundCard(object);
    EXPECT_EQ(s.SoundCard().ToObject(), object);

    const std::pair<void (*)(ZOR2&), bool> touches[] = {
        {[](ZOR2& s) { s.LetLoadFrom(QStringLiteral("x")); }, true},   {[](ZOR2& s) { s.BmpSaveAs(); }, true},
        {[](ZOR2& s) { s.LetMuteAtStart(false); }, true},              {[](ZOR2& s) { s.LetMoviesInGroup(2); }, true},
        {[](ZOR2& s) { s.LetErrorLog(QStringLiteral("x")); }, false},  {[](ZOR2& s) { s.LoadFrom(); }, false},
        {[](ZOR2& s) { s.LetStillDelayTimer(5); }, false},
    };
    for (const auto& [touch, dirty] : touches) {
        ZOR2 fresh;
        touch(fresh);
        EXPECT_EQ(fresh.IsDirty(), dirty);
    }
}

TEST(ZOR2Record, ClassErrorCarriesTheObjectErrorBaseAndTheUnknownText) {
    try {
        RaiseClassError(9999, QStringLiteral("ZOR2:LoadFrom Property Let"));
        FAIL();
    } catch (const vb::VbError& e) {
        EXPECT_EQ(e.number(), static_cast<qint32>(9999u + 0x80040000u));
        EXPECT_EQ(e.description(), u"An unknown error has occurred!");
        EXPECT_EQ(e.source(), u"ZOR2:LoadFrom Property Let");
    }
    EXPECT_TRUE(ErrorText(183).startsWith(u"ZOR encountered an error."));
}

TEST(MovieRecord, ReadDefaultsAndDirtyWrites) {
    Movie m;
    EXPECT_EQ(QStringList({m.AltName(), m.ZoomLevel().ToString(), m.Balance().ToString()}),
              QStringList({" ", "100%", "1000"}));
    EXPECT_EQ(m.Playspeed(), 10);
    EXPECT_FALSE(m.IsDirty());  // storing a default is no write
    m.LetMovieName(QStringLiteral("x"));
    m.LetIsStill(true);
    EXPECT_FALSE(m.IsDirty());
    m.LetZoomLevel(Variant(QString()));
    m.LetBalance(Variant(QString()));
    EXPECT_EQ(m.ZoomLevel().ToString() + u'|' + m.Balance().ToString(), u"100%|");  // "" is not unset for Balance
    m.LetPlayspeed(5);
    EXPECT_EQ(m.Playspeed(), 5);
    for (void (*write)(Movie&) : {+[](Movie& m) { m.Letvolume(3); }, +[](Movie& m) { m.LetLoopForever(true); },
                                  +[](Movie& m) { m.LetPlaysize(0); }, +[](Movie& m) { m.LetBalance(Variant()); }}) {
        Movie fresh;
        write(fresh);
        EXPECT_TRUE(fresh.IsDirty());
    }
    EXPECT_EQ(Variant(true).ToDouble(), -1.0);
    EXPECT_THROW(Variant(QStringLiteral("abc")).ToDouble(), vb::VbError);
}

TEST(EntryAddress, AddressesAndWebAddresses) {
    EXPECT_TRUE(IsAddress(QStringLiteral("HTTP://example.org")));
    EXPECT_FALSE(IsAddress(QStringLiteral("C:\\a:/b")));
    const QString path127(127, u'p');
    const std::tuple<QString, QString, QString> cases[] = {  // path, name, address
        {" http://example.org/ ", "a.htm ", "http://example.org/ a.htm"},
        {"   ", " http://example.org/b.htm ", "http://example.org/b.htm"},
        {path127 + u'p', "c.htm", "c.htm"},  // a path of 128 characters is not used
        {path127, "c.htm", path127 + "c.htm"},
    };
    for (const auto& [path, name, address] : cases) {
        Movie entry;
        entry.LetPath(path);
        entry.LetMovieName(name);
        EXPECT_EQ(WebAddress(entry), address);
    }
}

}  // namespace
