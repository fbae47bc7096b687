#include "platform/resources/PeModule.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace platform {
namespace {

constexpr quint32 kHighBit = 0x80000000u;
constexpr quint16 kPe32 = 0x10B;
constexpr quint16 kPe32Plus = 0x20B;
constexpr qint64 kSectionHeaderSize = 40;
constexpr qint64 kResourceDirectoryIndex = 2;

// Little-endian fields of a byte range whose bounds the caller checked.
quint16 U16(QByteArrayView data, qint64 at) { return qFromLittleEndian<quint16>(data.data() + at); }
quint32 U32(QByteArrayView data, qint64 at) { return qFromLittleEndian<quint32>(data.data() + at); }

}  // namespace

std::optional<PeModule> PeModule::Open(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxModuleBytes) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.read(kMaxModuleBytes + 1);
    if (bytes.size() > kMaxModuleBytes) return std::nullopt;  // it grew while being read
    return FromBytes(std::move(bytes));
}

std::optional<PeModule> PeModule::FromBytes(QByteArray bytes) {
    const qint64 size = bytes.size();
    if (size < 64 || !bytes.startsWith("MZ")) return std::nullopt;
    const qint64 pe = U32(bytes, 0x3C);
    if (pe + 24 > size || QByteArrayView(bytes).sliced(pe, 4) != QByteArrayView("PE\0\0", 4)) return std::nullopt;
    const qint64 coff = pe + 4;
    const qint64 sectionCount = U16(bytes, coff + 2);
    const qint64 optionalSize = U16(bytes, coff + 16);
    const qint64 optional = coff + 20;
    if (optionalSize < 2 || optional + optionalSize > size) return std::nullopt;

    qint64 countAt = 0;
    switch (U16(bytes, optional)) {
    case kPe32: countAt = 92; break;
    case kPe32Plus: countAt = 108; break;
    default: return std::nullopt;
    }
    PeModule module;
    const qint64 directoryAt = countAt + 4 + kResourceDirectoryIndex * 8;
    if (countAt + 4 <= optionalSize && U32(bytes, optional + countAt) > kResourceDirectoryIndex &&
        directoryAt + 8 <= optionalSize) {
        module.resourceRva_ = U32(bytes, optional + directoryAt);
    }

    const qint64 table = optional + optionalSize;
    if (table + sectionCount * kSectionHeaderSize > size) return std::nullopt;
    for (qint64 i = 0; i < sectionCount; ++i) {
        const qint64 at = table + i * kSectionHeaderSize;
        module.sections_.push_back({U32(bytes, at + 12), U32(bytes, at + 16), U32(bytes, at + 20)});
    }
    module.bytes_ = std::move(bytes);
    return module;
}

std::optional<QByteArrayView> PeModule::At(quint32 rva, quint32 length) const {
    for (const Section& s : sections_) {
        if (rva < s.virtualAddress || qint64(rva) + length > qint64(s.virtualAddress) + s.rawSize) continue;
        const qint64 offset = qint64(s.rawOffset) + (rva - s.virtualAddress);
        if (offset + length > bytes_.size()) return std::nullopt;
        return QByteArrayView(bytes_).sliced(offset, length);
    }
    return std::nullopt;
}

// The entries of the directory at offset from the start of the resources.
std::optional<std::vector<PeModule::Entry>> PeModule::Directory(quint32 offset) const {
    const qint64 rva = qint64(resourceRva_) + offset;
    if (resourceRva_ == 0 || rva + 16 > 0xFFFFFFFF) return std::nullopt;
    const std::optional<QByteArrayView> header = At(quint32(rva), 16);
    if (!header) return std::nullopt;
    const quint32 count = quint32(U16(*header, 12)) + U16(*header, 14);
    const std::optional<QByteArrayView> list = At(quint32(rva + 16), count * 8);
    if (!list) return std::nullopt;
    std::vector<Entry> entries;
    entries.reserve(count);
    for (quint32 i = 0; i < count; ++i) entries.push_back({U32(*list, i * 8), U32(*list, i * 8 + 4)});
    return entries;
}

bool PeModule::Matches(const Entry& entry, const ResourceName& name) const {
    if (!(entry.name & kHighBit)) return name.id && entry.name == *name.id;
    if (name.id) return false;
    const qint64 rva = qint64(resourceRva_) + (entry.name & ~kHighBit);
    if (rva + 2 > 0xFFFFFFFF) return false;
    const std::optional<QByteArrayView> length = At(quint32(rva), 2);
    if (!length || U16(*length, 0) != name.name.size()) return false;
    const std::optional<QByteArrayView> text = At(quint32(rva + 2), quint32(name.name.size()) * 2);
    if (!text) return false;
    for (qsizetype i = 0; i < name.name.size(); ++i) {
        if (U16(*text, i * 2) != name.name[i].unicode()) return false;
    }
    return true;
}

std::optional<quint32> PeModule::Subdirectory(quint32 offset, const ResourceName& name) const {
    const std::optional<std::vector<Entry>> entries = Directory(offset);
    if (!entries) return std::nullopt;
    for (const Entry& entry : *entries) {
        if (Matches(entry, name)) {
            if (!(entry.target & kHighBit)) return std::nullopt;
            return entry.target & ~kHighBit;
        }
    }
    return std::nullopt;
}

std::optional<PeModule::Resource> PeModule::FindResource(quint16 type, const ResourceName& name) const {
    const std::optional<quint32> types = Subdirectory(0, ResourceName{type, {}});
    if (!types) return std::nullopt;
    const std::optional<quint32> languages = Subdirectory(*types, name);
    if (!languages) return std::nullopt;
    const std::optional<std::vector<Entry>> entries = Directory(*languages);
    // The first language; a directory where its data should be is no resource.
    if (!entries || entries->empty() || (entries->front().target & kHighBit)) return std::nullopt;
    const qint64 rva = qint64(resourceRva_) + entries->front().target;
    if (rva + 16 > 0xFFFFFFFF) return std::nullopt;
    const std::optional<QByteArrayView> data = At(quint32(rva), 16);
    if (!data) return std::nullopt;
    return Resource{U32(*data, 0), U32(*data, 4)};
}

std::optional<QByteArrayView> PeModule::LoadResource(const Resource& resource) const {
    return At(resource.rva, resource.size);
}

}  // namespace platform
