#pragma once
// Region data in the Windows RGNDATA layout, little-endian 32-bit fields:
// header size 32, type 1 (rectangles), rectangle count N, size of the
// rectangles 16 * N, the bounding rectangle, then the N rectangles (left,
// top, right, bottom). This is what region files and region resources hold.

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

#include "platform/gdi/Region.h"

namespace platform::gdi {

constexpr qint32 kRegionHeaderSize = 32;
constexpr qint32 kRegionRectSize = 16;
// The most rectangles a region may be made of here (a checkerboard the size
// of a 4K screen needs about 4.1 million), and the most bytes of region data
// that can hold them.
constexpr qint64 kMaxRegionRects = qint64(1) << 22;
constexpr qint64 kMaxRegionDataBytes = kRegionHeaderSize + kMaxRegionRects * kRegionRectSize;

// GetRegionData: the bytes that describe region, in its banded order.
QByteArray GetRegionData(const Region& region);
quint32 RegionDataSize(const Region& region);

// ExtCreateRegion without a transformation: the union of the rectangles, in
// any order and overlapping or not; rectangles without area are left out.
// None when the header size is not 32, the bytes are fewer than the count
// needs (a count larger than the rectangles present), or the region would
// take more than kMaxRegionRects rectangles or as much work to build. The
// type, the size field and the bounding rectangle are not checked.
std::optional<Region> ExtCreateRegion(QByteArrayView data);

}  // namespace platform::gdi
