#pragma once
// A window region made from a bitmap: every pixel of the transparent colour
// is left out. The object owns its region, applies copies of it to windows
// (named by their native ids) and keeps the list of those windows, 1-based
// in the order they were added. Failures of Save, LoadFromFile and
// LoadFromResource are raised as vb::VbError with the source
// "<executable name>.cDIBSectionRegion".

#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

#include "graphics/cDIBSection.h"
#include "platform/gdi/Region.h"

namespace graphics {

class cDIBSectionRegion {
public:
    cDIBSectionRegion() = default;
    ~cDIBSectionRegion();
    cDIBSectionRegion(const cDIBSectionRegion&) = delete;
    cDIBSectionRegion& operator=(const cDIBSectionRegion&) = delete;

    // lTransColor is 0x00BBGGRR. Leaves the object without a region when
    // cDib holds no pixels.
    void Create(const cDIBSection& cDib, qint32 lTransColor = 0);

    bool Applied(unsigned long hWnd) const;
    // Applies the region to hWnd (adding it to the list) or removes it.
    void SetApplied(unsigned long hWnd, bool bState);
    qint32 AppliedToCount() const { return qint32(windows_.size()); }
    // 0 outside 1 to AppliedToCount.
    unsigned long hWndForIndex(qint32 lIndex) const;

    void Destroy();

    // Writes the region data to sPath, replacing the file as a whole: a
    // failure leaves the file that was there. Raises 26010 to 26012, or the
    // run-time's error (76 for a missing folder, else 75) when the file
    // cannot be written.
    bool Save(const QString& sPath);
    // Raises 53 for a missing file and 75 for one that cannot be read (a
    // folder, no permission). False when the bytes hold no region or are
    // more than any region needs.
    bool LoadFromFile(const QString& sFileName);
    // vID: a number (or text of one) or a name. Without sDLL, the program's
    // own resource (run-time error 326 when it has none); with it, the
    // module's, raising 26013 and 26014.
    bool LoadFromResource(const QVariant& vID, const QString& sDLL = QString());

private:
    bool CreateFromBuffer(QByteArrayView data);
    [[noreturn]] void Fail(qint32 number, const QString& description = QString()) const;

    std::optional<platform::gdi::Region> region_;
    std::vector<unsigned long> windows_;
};

}  // namespace graphics
