#pragma once
// Another module's resources: a Windows DLL or EXE (PE32 or PE32+) read as
// data, never run, as LoadLibraryEx with LOAD_LIBRARY_AS_DATAFILE does.
// Every offset the file gives is checked against the file, and the
// resource tree is walked to its fixed depth (type, name, language) only,
// so no content can make a read leave the file or a walk go round.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

#include "platform/resources/ResourceName.h"

namespace platform {

class PeModule {
public:
    // None when the file cannot be read, is not a regular file, is larger
    // than kMaxModuleBytes, or its headers or section table are not those
    // of a PE file inside the file.
    static std::optional<PeModule> Open(const QString& path);
    static std::optional<PeModule> FromBytes(QByteArray bytes);

    static constexpr qint64 kMaxModuleBytes = qint64(256) << 20;

    // Where a resource's data lies (FindResource).
    struct Resource {
        quint32 rva = 0;
        quint32 size = 0;
    };
    // The resource of this type and name in its first language; none when
    // the module has no such resource or its directory cannot be read.
    std::optional<Resource> FindResource(quint16 type, const ResourceName& name) const;
    // The resource's bytes (LoadResource and LockResource); none when they
    // do not lie inside one section's data in the file. Valid while the
    // module lives.
    std::optional<QByteArrayView> LoadResource(const Resource& resource) const;

private:
    struct Section {
        quint32 virtualAddress = 0;
        quint32 rawSize = 0;
        quint32 rawOffset = 0;
    };
    struct Entry {
        quint32 name = 0;    // high bit: offset of a name string, else the number
        quint32 target = 0;  // high bit: offset of a subdirectory, else of a data entry
    };

    std::optional<QByteArrayView> At(quint32 rva, quint32 length) const;
    std::optional<std::vector<Entry>> Directory(quint32 offset) const;
    bool Matches(const Entry& entry, const ResourceName& name) const;
    std::optional<quint32> Subdirectory(quint32 offset, const ResourceName& name) const;

    QByteArray bytes_;
    std::vector<Section> sections_;
    quint32 resourceRva_ = 0;  // 0: the module has no resources
};

}  // namespace platform
