#include <gtest/gtest.h>

#include <QStringList>

#include "config/EntryAddress.h"
#include "config/ModString.h"
#include "config/Movie.h"
#include "config/ZOR2.h"
#include "errors/modErrorHandling.h"
#include "platform/vb/VbError.h"
#include "support/TestSupport.h"

using namespace errors;
using namespace config;

namespace {

TEST(Records, SpecialPropertiesDefaultsAndDirtyRules) {
    Movie m;
    EXPECT_EQ(QStringList({m.AltName(), m.ZoomLevel().ToString(), m.Balance().ToString()}),
              QStringList({" ", "100%", "1000"}));
    EXPECT_EQ(m.Playspeed(), 10);
    m.LetZoomLevel(Variant(QString()));
    m.LetBalance(Variant(QString()));
    EXPECT_EQ(m.ZoomLevel().ToString() + u'|' + m.Balance().ToString(), u"100%|");  // "" is not unset for Balance

    // Writes that mark a record dirty, and those that do not; storing a read
    // default is no write.
    const std::pair<void (*)(ZOR2&, Movie&), bool> touches[] = {
        {[](ZOR2& s, Movie&) { s.LetLoadFrom(QStringLiteral("x")); }, true},
        {[](ZOR2& s, Movie&) { s.LetMoviesInGroup(2); }, true},
        {[](ZOR2& s, Movie&) { s.LetErrorLog(QStringLiteral("x")); }, false},
        {[](ZOR2& s, Movie&) { s.LoadFrom(); }, false},
        {[](ZOR2&, Movie& m) { m.Letvolume(3); }, true},
        {[](ZOR2&, Movie& m) { m.LetBalance(Variant()); }, true},
        {[](ZOR2&, Movie& m) { m.LetMovieName(QStringLiteral("x")), m.LetIsStill(true), m.AltName(), m.Playspeed(); },
         false},
    };
    for (const auto& [touch, dirty] : touches) {
        ZOR2 settings;
        Movie movie;
        touch(settings, movie);
        EXPECT_EQ(settings.IsDirty() || movie.IsDirty(), dirty);
    }
}

TEST(Records, ClassErrorCarriesTheObjectErrorBaseAndTheUnknownText) {
    try {
        RaiseClassError(9999, QStringLiteral("ZOR2:LoadFrom Property Let"));
        FAIL();
    } catch (const vb::VbError& e) {
        EXPECT_EQ(QString::number(e.number() - qint32(0x80040000u)) + u'|' + e.description() + u'|' + e.source(),
                  u"9999|An unknown error has occurred!|ZOR2:LoadFrom Property Let");
    }
}

TEST(EntryAddress, AddressesAndWebAddresses) {
    EXPECT_TRUE(IsAddress(QStringLiteral("HTTP://example.org")));
    EXPECT_FALSE(IsAddress(QStringLiteral("C:\\a:/b")));
    const QString path300(300, u'p');
    const std::tuple<QString, QString, QString> cases[] = {  // path, name, address
        {" http://example.org/ ", "a.htm ", "http://example.org/ a.htm"},
        {"   ", " http://example.org/b.htm ", "http://example.org/b.htm"},
        {u'/' + QString(127, QChar(u'\0')), "c.htm", "c.htm"},  // a Path read short names no folder
        {path300, "c.htm", path300 + "c.htm"},
    };
    for (const auto& [path, name, address] : cases) {
        Movie entry;
        entry.LetPath(path);
        entry.LetMovieName(name);
        EXPECT_EQ(WebAddress(entry), address);
    }
}

TEST(ModString, FileNameFromPath) {
    const std::pair<QString, QString> cases[] = {
        {"C:\\Movies\\Holiday\\clip.avi", "clip.avi"},
        {"\\\\Server\\Share\\clip.avi", "clip.avi"},
        {"\\\\Server\\\\x", ""},  // the server name goes with its backslash only
        {"clip.avi", "clip.avi"},
        {"http://example.org/a/page.htm", "http://example.org/a/page.htm"},
        {"/home/ann/Movies/clip.mkv", "clip.mkv"},
        {"//server/share/clip.mkv", "clip.mkv"},
        {"/home/ann/Movies/", "Movies"},
        {"C:\\Movies\\\\clip.avi", "Movies"},  // the doubled backslash ends the walk, leaving "clip.avi"
        {"C:\\", ""},  // nothing after the prefix: not the rest of the call before
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(FileNameFromPath(path), name) << path.toStdString();
}

}  // namespace
