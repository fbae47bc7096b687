#pragma once
// The Debian package unpacked with dpkg-deb into a fresh folder under /tmp,
// removed with the object. Every folder in it, the top one too, is opened
// to all (0755) as an installed package's are, so that another user (nobody)
// can run the unpacked program.

#include <QTemporaryDir>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "support/TestSupport.h"

namespace testsupport {

class UnpackedPackage {
public:
    explicit UnpackedPackage(const std::filesystem::path& deb)
        : dir_(QStringLiteral("/tmp/zorscr-package-XXXXXX")) {
        namespace fs = std::filesystem;
        if (!fs::exists(deb))
            throw std::runtime_error(deb.string() + " is missing: make it with (cd build && cpack -G DEB)");
        if (!dir_.isValid()) throw std::runtime_error("cannot make a folder to unpack the package into");
        Tool("dpkg-deb", {"-x", QString::fromStdString(deb.string()), dir_.path()});
        using fs::perms;
        const perms open = perms::owner_all | perms::group_read | perms::group_exec | perms::others_read |
                           perms::others_exec;
        fs::permissions(Root(), open);
        for (const auto& entry : fs::recursive_directory_iterator(Root()))
            if (entry.is_directory() && !entry.is_symlink()) fs::permissions(entry.path(), open);
    }

    std::filesystem::path Root() const { return dir_.path().toStdString(); }
    // The program itself, where the links on the PATH and xscreensaver's lead.
    std::filesystem::path Program() const { return Root() / "usr/lib/zorscr/ZORScr"; }

private:
    QTemporaryDir dir_;
};

}  // namespace testsupport
