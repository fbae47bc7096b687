// The Debian package the build makes: what lintian says of it, the files it
// installs and the packages it pulls in.

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <filesystem>
#include <set>

#include "support/TestSupport.h"
#include "support/UnpackedPackage.h"

namespace {

namespace fs = std::filesystem;

QString Output(const QString& program, const QStringList& arguments) {
    const testsupport::Ran ran = testsupport::RunProgram(program, arguments, {}, {}, 180000);
    EXPECT_NE(ran.code, -1) << program.toStdString();
    return ran.out;
}

// Whether the settings file is one xscreensaver-settings can read: a
// "zorscr" display mode started with --root, with a file chooser.
bool IsDisplayModeSettings(const fs::path& file) {
    QFile xml(QString::fromStdString(file.string()));
    if (!xml.open(QIODevice::ReadOnly)) return false;
    QXmlStreamReader reader(&xml);
    bool mode = false, root = false, chooser = false;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        const auto name = reader.name();
        mode |= name == u"screensaver" && reader.attributes().value("name") == u"zorscr";
        root |= name == u"command" && reader.attributes().value("arg") == u"--root";
        chooser |= name == u"file" && reader.attributes().value("arg").contains(u'%');
    }
    return !reader.hasError() && mode && root && chooser;
}

TEST(PackageE2E, InstallsTheProgramItsLinksAndItsDocuments) {
    ASSERT_TRUE(fs::exists(ZORSCR_DEB)) << ZORSCR_DEB << " is missing: make it with (cd build && cpack -G DEB)";

    const QString lintian = Output("lintian", {"--tag-display-limit", "0", ZORSCR_DEB});
    EXPECT_FALSE(lintian.contains(QRegularExpression("^E: ", QRegularExpression::MultilineOption)))
        << lintian.toStdString();

    // Every file and link it installs; a link names the file it must lead to
    // inside the package.
    struct Entry {
        const char* path;
        const char* leadsTo = nullptr;
    };
    const Entry entries[] = {
        {"usr/lib/zorscr/ZORScr"},
        {"usr/lib/zorscr/ZORFacts"},
        {"usr/lib/zorscr/ZORCollect"},
        {"usr/lib/zorscr/ZORhlp.htm"},
        {"usr/lib/zorscr/plugins/libzorweb.so"},
        {"usr/bin/zorscr", "usr/lib/zorscr/ZORScr"},
        {"usr/bin/zorfacts", "usr/lib/zorscr/ZORFacts"},
        {"usr/bin/zorcollect", "usr/lib/zorscr/ZORCollect"},
        {"usr/libexec/xscreensaver/zorscr", "usr/lib/zorscr/ZORScr"},
        {"usr/share/xscreensaver/config/zorscr.xml"},
        {"usr/share/applications/screensavers/zorscr.desktop"},
        {"usr/share/zorscr/zorscr-idle.desktop"},
        {"usr/share/man/man1/zorscr.1.gz"},
        {"usr/share/man/man1/zorfacts.1.gz"},
        {"usr/share/man/man1/zorcollect.1.gz"},
        {"usr/share/doc/zorscr/copyright"},
        {"usr/share/doc/zorscr/changelog.gz"},
    };
    const testsupport::UnpackedPackage package(ZORSCR_DEB);
    const fs::path root = package.Root();
    std::set<std::string> expected, found;
    for (const Entry& entry : entries) {
        SCOPED_TRACE(entry.path);
        expected.insert(entry.path);
        const fs::path path = root / entry.path;
        ASSERT_TRUE(fs::exists(path));
        if (entry.leadsTo) {
            EXPECT_TRUE(fs::read_symlink(path).is_relative());
            EXPECT_EQ(fs::canonical(path), fs::canonical(root / entry.leadsTo));
        } else {
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
        }
    }
    for (const auto& item : fs::recursive_directory_iterator(root))
        if (!item.is_directory() || item.is_symlink()) found.insert(item.path().lexically_relative(root).string());
    EXPECT_EQ(found, expected);
    EXPECT_NE(fs::status(package.Program()).permissions() & fs::perms::others_exec, fs::perms::none);
    EXPECT_TRUE(IsDisplayModeSettings(root / "usr/share/xscreensaver/config/zorscr.xml"));
    const QString desktop = QString::fromStdString((root / "usr/share/applications/screensavers/zorscr.desktop").string());
    EXPECT_TRUE(QString::fromUtf8(testsupport::ReadBytes(desktop)).contains("\nExec=zorscr --root\n"));
    if (!QStandardPaths::findExecutable("desktop-file-validate").isEmpty()) {
        const testsupport::Ran validated = testsupport::RunProgram("desktop-file-validate", {desktop});
        EXPECT_EQ(validated.code, 0) << validated.out.toStdString();
    }

    const QString depends = Output("dpkg-deb", {"-f", ZORSCR_DEB, "Depends"}).trimmed();
    for (const char* needed : {"libmpv\\d+", "libqt6gui6", "libqt6webenginecore6-bin", "libheif1", "qt6-image-formats-plugins"})
        EXPECT_TRUE(depends.contains(QRegularExpression(QStringLiteral("(^|[,|] *)%1( |,|$)").arg(needed))))
            << needed << " in " << depends.toStdString();
}

// Root's files too go to its own folder: one left in the package's folder
// would outlive apt-get purge.
TEST(PackageE2E, TheInstalledCopyWritesNothingBesideItself) {
    const testsupport::UnpackedPackage package(ZORSCR_DEB);
    const testsupport::TempFolder config;
    const auto listing = [&] {
        std::set<fs::path> files;
        for (const auto& item : fs::recursive_directory_iterator(package.Program().parent_path())) files.insert(item.path());
        return files;
    };
    const std::set<fs::path> installed = listing();
    // Without a display: it ends with a record in the default error log.
    const testsupport::Ran ran = testsupport::RunProgram(QString::fromStdString(package.Program().string()), {"/S"},
                                                  {{"DISPLAY", {}}, {"XDG_CONFIG_HOME", config.path()}}, {}, 20000);
    EXPECT_EQ(ran.code, 1);
    EXPECT_EQ(listing(), installed);
    EXPECT_TRUE(QFile::exists(config.file("ZORScr/ZORScr.Log")));
}

}  // namespace
