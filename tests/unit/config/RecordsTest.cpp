#include <gtest/gtest.h>

#include <QObject>

#include "config/Movie.h"
#include "config/Variant.h"
#include "config/ZOR2.h"
#include "errors/modErrorHandling.h"
#include "platform/vb/VbError.h"
#include "support/QtPrinters.h"

namespace {

TEST(ZOR2Record, NewRecordAndSpecialProperties) {
    ZOR2 s;
    EXPECT_EQ(s.ErrorLog(), u"");
    EXPECT_EQ(s.MoviesInGroup(), 0);
    EXPECT_FALSE(s.CDDBMode());
    EXPECT_TRUE(s.SoundCard().IsEmpty());
    EXPECT_FALSE(s.IsDirty());

    s.LetProgramVersion(QStringLiteral("2.0"));
    EXPECT_EQ(s.ProgramVersion(), u"2.0 - beta");
    s.LetProgramVersion(QStringLiteral("2.1"));
    EXPECT_EQ(s.ProgramVersion(), u"2.1");

    s.LetShowAnimtext(true);
    EXPECT_FALSE(s.ShowAnimtext());

    auto object = std::make_shared<QObject>();
    s.SetSoundCard(object);
    EXPECT_EQ(s.SoundCard().ToObject(), object);
    s.LetSoundCard(Variant(qint32{3}));
    EXPECT_EQ(s.SoundCard().ToDouble(), 3.0);
}

TEST(ZOR2Record, DirtyRules) {
    struct Case {
        const char* what;
        void (*touch)(ZOR2&);
        bool dirty;
    };
    const Case cases[] = {
        {"Let LoadFrom", [](ZOR2& s) { s.LetLoadFrom(QStringLiteral("x")); }, true},
        {"Let BmpSaveAs", [](ZOR2& s) { s.LetBmpSaveAs(QStringLiteral("x")); }, true},
        {"Get BmpSaveAs", [](ZOR2& s) { s.BmpSaveAs(); }, true},
        {"Let DisplayColor", [](ZOR2& s) { s.LetDisplayColor(QStringLiteral("x")); }, true},
        {"Let MuteAtStart", [](ZOR2& s) { s.LetMuteAtStart(false); }, true},
        {"Let MoviesInGroup", [](ZOR2& s) { s.LetMoviesInGroup(2); }, true},
        {"Let ErrorLog", [](ZOR2& s) { s.LetErrorLog(QStringLiteral("x")); }, false},
        {"Get LoadFrom", [](ZOR2& s) { s.LoadFrom(); }, false},
        {"Let StillDelayTimer", [](ZOR2& s) { s.LetStillDelayTimer(5); }, false},
    };
    for (const Case& c : cases) {
        ZOR2 s;
        c.touch(s);
        EXPECT_EQ(s.IsDirty(), c.dirty) << c.what;
    }
}

TEST(ClassError, CarriesTheObjectErrorBaseAndTheUnknownText) {
    try {
        RaiseClassError(9999, QStringLiteral("ZOR2:LoadFrom Property Let"));
        FAIL();
    } catch (const vb::VbError& e) {
        EXPECT_EQ(e.number(), static_cast<qint32>(9999u + 0x80040000u));
        EXPECT_EQ(e.description(), u"An unknown error has occurred!");
        EXPECT_EQ(e.source(), u"ZOR2:LoadFrom Property Let");
    }
    EXPECT_EQ(ErrorText(183).left(21), u"ZOR encountered an er");
}

TEST(MovieRecord, ReadDefaults) {
    Movie m;
    EXPECT_EQ(m.AltName(), u" ");
    EXPECT_EQ(m.ZoomLevel().ToString(), u"100%");
    EXPECT_EQ(m.Balance().ToDouble(), 1000.0);
    EXPECT_EQ(m.Playspeed(), 10);
    EXPECT_FALSE(m.IsDirty());  // storing a default is no write
    EXPECT_TRUE(m.LoopEnd().IsEmpty());

    m.LetZoomLevel(Variant(QString()));
    EXPECT_EQ(m.ZoomLevel().ToString(), u"100%");
    m.LetBalance(Variant(QString()));
    EXPECT_EQ(m.Balance().ToString(), u"");  // "" is not unset
    m.LetPlayspeed(0);
    EXPECT_EQ(m.Playspeed(), 10);
    m.LetPlayspeed(5);
    EXPECT_EQ(m.Playspeed(), 5);
}

TEST(MovieRecord, DirtyWrites) {
    Movie a;
    a.LetMovieName(QStringLiteral("x"));
    a.LetPath(QStringLiteral("/"));
    a.LetIsStill(true);
    EXPECT_FALSE(a.IsDirty());
    for (void (*write)(Movie&) : {+[](Movie& m) { m.Letvolume(3); }, +[](Movie& m) { m.LetLoopForever(true); },
                                  +[](Movie& m) { m.LetPlaysize(0); }, +[](Movie& m) { m.LetBalance(Variant()); }}) {
        Movie m;
        write(m);
        EXPECT_TRUE(m.IsDirty());
    }
}

TEST(VariantValue, Conversions) {
    EXPECT_EQ(Variant().ToString(), u"");
    EXPECT_EQ(Variant().ToDouble(), 0.0);
    EXPECT_EQ(Variant(true).ToDouble(), -1.0);
    EXPECT_EQ(Variant(QStringLiteral("2.5")).ToDouble(), 2.5);
    EXPECT_EQ(Variant(1.25).ToString(), u"1.25");
    EXPECT_THROW(Variant(QStringLiteral("abc")).ToDouble(), vb::VbError);
    EXPECT_FALSE(Variant(QString()).IsEmpty());
}

}  // namespace
