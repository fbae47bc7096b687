#include "graphics/cDIBSectionRegion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "platform/gdi/RegionData.h"
#include "platform/resources/PeModule.h"
#include "platform/resources/RawData.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/ProgramInfo.h"
#include "platform/ui/WindowRegion.h"
#include "platform/vb/VbError.h"

namespace graphics {

namespace gdi = platform::gdi;

namespace {

constexpr qint32 kNoRegionToSave = 26010;
constexpr qint32 kNoRegionSize = 26011;
constexpr qint32 kNoRegionData = 26012;
constexpr qint32 kCantOpenModule = 26013;
constexpr qint32 kNoResource = 26014;

// Numbers, and text made of digits only, name resources by number.
bool IsNumericId(const QVariant& id) {
    if (id.typeId() == QMetaType::QString) {
        const QString text = id.toString().trimmed();
        return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    }
    bool ok = false;
    id.toLongLong(&ok);
    return ok;
}

}  // namespace

cDIBSectionRegion::~cDIBSectionRegion() { Destroy(); }

void cDIBSectionRegion::Fail(qint32 number, const QString& description) const {
    vb::Raise(number, platform::ExecutableName() + QStringLiteral(".cDIBSectionRegion"), description);
}

void cDIBSectionRegion::Create(const cDIBSection& cDib, qint32 lTransColor) {
    Destroy();
    const quint8 red = quint8(lTransColor), green = quint8(lTransColor >> 8), blue = quint8(lTransColor >> 16);
    const qint32 width = cDib.Width(), height = cDib.Height(), stride = cDib.BytesPerScanLine();
    const quint8* bits = cDib.DIBSectionBitsPtr();
    if (!bits || width <= 0 || height <= 0) return;

    // Row by row from the top, each row's opaque runs one band: the same
    // pixels as the full rectangle less the transparent runs of every
    // column, built in one pass without combining regions.
    gdi::RegionBuilder builder;
    std::vector<gdi::Span> spans;
    for (qint32 y = 0; y < height; ++y) {
        const quint8* pixel = bits + qsizetype(height - 1 - y) * stride;  // rows are stored bottom-up
        spans.clear();
        qint32 start = -1;
        for (qint32 x = 0; x < width; ++x, pixel += 3) {
            const bool transparent = pixel[0] == blue && pixel[1] == green && pixel[2] == red;
            if (!transparent && start < 0) {
                start = x;
            } else if (transparent && start >= 0) {
                spans.push_back({start, x});
                start = -1;
            }
        }
        if (start >= 0) spans.push_back({start, width});
        builder.AddBand(y, y + 1, spans);
    }
    region_ = builder.Finish();
}

bool cDIBSectionRegion::Applied(unsigned long hWnd) const {
    return std::find(windows_.begin(), windows_.end(), hWnd) != windows_.end();
}

void cDIBSectionRegion::SetApplied(unsigned long hWnd, bool bState) {
    const auto listed = std::find(windows_.begin(), windows_.end(), hWnd);
    if (bState) {
        if (listed == windows_.end()) windows_.push_back(hWnd);
        platform::SetWindowRgn(hWnd, region_ ? &*region_ : nullptr, true);
    } else {
        platform::SetWindowRgn(hWnd, nullptr, true);
        if (listed != windows_.end()) windows_.erase(listed);
    }
}

unsigned long cDIBSectionRegion::hWndForIndex(qint32 lIndex) const {
    if (lIndex < 1 || lIndex > AppliedToCount()) return 0;
    return windows_[std::size_t(lIndex - 1)];
}

void cDIBSectionRegion::Destroy() {
    for (const unsigned long hWnd : windows_) {
        if (hWnd != 0) platform::SetWindowRgn(hWnd, nullptr, true);
    }
    windows_.clear();
    region_.reset();
}

bool cDIBSectionRegion::Save(const QString& sPath) {
    if (!region_) Fail(kNoRegionToSave, QStringLiteral("No region to save"));
    const quint32 size = gdi::RegionDataSize(*region_);
    if (size < 1) Fail(kNoRegionSize, QStringLiteral("Unable to determine size of region"));
    const QByteArray data = gdi::GetRegionData(*region_);
    if (quint32(data.size()) != size) Fail(kNoRegionData, QStringLiteral("Unable to get region data"));
    if (!platform::ReplaceFileContent(QFile::encodeName(sPath), data)) {
        Fail(QFileInfo(sPath).absoluteDir().exists() ? vb::ErrNum::PathFileAccessError : vb::ErrNum::PathNotFound);
    }
    return true;
}

bool cDIBSectionRegion::LoadFromFile(const QString& sFileName) {
    const QFileInfo info(sFileName);
    if (!info.exists()) Fail(vb::ErrNum::FileNotFound);
    // Only regular files: a pipe or device would block or never end.
    QFile file(sFileName);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) Fail(vb::ErrNum::PathFileAccessError);
    if (file.size() > gdi::kMaxRegionDataBytes) return CreateFromBuffer({});
    const QByteArray data = file.read(gdi::kMaxRegionDataBytes);
    return CreateFromBuffer(data);
}

bool cDIBSectionRegion::LoadFromResource(const QVariant& vID, const QString& sDLL) {
    const QString id = vID.toString();
    const QString name = IsNumericId(vID) ? QStringLiteral("#") + id.trimmed() : id;
    if (sDLL.isEmpty()) return CreateFromBuffer(platform::LoadResData(name));

    const std::optional<platform::PeModule> module = platform::PeModule::Open(sDLL);
    if (!module) Fail(kCantOpenModule, QStringLiteral("Can't open DLL for Resource Access"));
    const std::optional<platform::ResourceName> resourceName = platform::ResourceName::FromText(name);
    const std::optional<platform::PeModule::Resource> found =
        resourceName ? module->FindResource(platform::RT_RCDATA, *resourceName) : std::nullopt;
    if (!found) Fail(kNoResource, QStringLiteral("Resource with ID %1 could not be found").arg(id));
    const std::optional<QByteArrayView> data = module->LoadResource(*found);
    if (!data) Fail(kNoResource, QStringLiteral("Cannot access data for resource with ID %1 could not be found").arg(id));
    return CreateFromBuffer(*data);
}

bool cDIBSectionRegion::CreateFromBuffer(QByteArrayView data) {
    Destroy();
    region_ = gdi::ExtCreateRegion(data);
    return region_.has_value();
}

}  // namespace graphics
