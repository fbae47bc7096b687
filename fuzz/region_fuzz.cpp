// Arbitrary bytes as region data: a region made from them is in the one
// banded form, covers exactly the rectangles given, and its own data makes
// the same region again.

#include <QByteArrayView>
#include <QtEndian>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/gdi/RegionData.h"

namespace {

using namespace platform::gdi;

constexpr std::size_t kChecked = 32;  // input rectangles whose corners are checked

void Require(bool condition) {
    if (!condition) std::abort();
}

bool Covers(const std::vector<RECT>& rects, qint32 x, qint32 y) {
    return std::any_of(rects.begin(), rects.end(),
                       [&](const RECT& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; });
}

void CheckBanded(const std::vector<RECT>& rects) {
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const RECT& r = rects[i];
        Require(r.left < r.right && r.top < r.bottom);
        if (i == 0) continue;
        const RECT& p = rects[i - 1];
        if (r.top == p.top) {
            Require(r.bottom == p.bottom && r.left > p.right);
        } else {
            Require(r.top >= p.bottom);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    const std::optional<Region> region = ExtCreateRegion(bytes);
    if (!region) return 0;
    const std::vector<RECT>& rects = region->Rects();
    CheckBanded(rects);

    // Every corner pixel of a rectangle given is in the region, and every
    // corner pixel of the region's rectangles lies in a rectangle given.
    const qsizetype count = qFromLittleEndian<qint32>(data + 8);
    std::vector<RECT> given;
    for (qsizetype i = 0; i < count; ++i) {
        const std::uint8_t* at = data + 32 + i * 16;
        const RECT r{qFromLittleEndian<qint32>(at), qFromLittleEndian<qint32>(at + 4),
                     qFromLittleEndian<qint32>(at + 8), qFromLittleEndian<qint32>(at + 12)};
        if (r.left < r.right && r.top < r.bottom) given.push_back(r);
    }
    for (std::size_t i = 0; i < std::min(given.size(), kChecked); ++i) {
        Require(Covers(rects, given[i].left, given[i].top) && Covers(rects, given[i].right - 1, given[i].bottom - 1));
    }
    for (std::size_t i = 0; i < std::min(rects.size(), kChecked); ++i) {
        Require(Covers(given, rects[i].left, rects[i].top) && Covers(given, rects[i].right - 1, rects[i].bottom - 1));
    }

    const QByteArray own = GetRegionData(*region);
    Require(quint32(own.size()) == RegionDataSize(*region));
    const std::optional<Region> again = ExtCreateRegion(own);
    Require(again && *again == *region);
    return 0;
}
