#include "platform/gdi/RegionData.h"

#include <QtEndian>
#include <algorithm>
#include <vector>

namespace platform::gdi {
namespace {

constexpr quint32 kRectanglesType = 1;  // RDH_RECTANGLES
// Rectangles looked at while sweeping the bands: bounds the time a hostile
// list of tall, overlapping rectangles can take.
constexpr qint64 kMaxSweepWork = qint64(1) << 24;

void Put(QByteArray& out, qsizetype at, qint32 value) {
    qToLittleEndian<qint32>(value, out.data() + at);
}

qint32 Get(QByteArrayView data, qsizetype at) { return qFromLittleEndian<qint32>(data.data() + at); }

// The union of rectangles that all have area, band by band from the top.
std::optional<Region> Union(std::vector<RECT> rects) {
    std::sort(rects.begin(), rects.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
    std::vector<qint32> edges;
    edges.reserve(rects.size() * 2);
    for (const RECT& r : rects) {
        edges.push_back(r.top);
        edges.push_back(r.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    RegionBuilder builder;
    std::vector<RECT> active;
    std::vector<Span> spans;
    std::size_t next = 0;
    qint64 work = 0, made = 0;
    for (std::size_t e = 0; e + 1 < edges.size(); ++e) {
        const qint32 top = edges[e], bottom = edges[e + 1];
        std::erase_if(active, [top](const RECT& r) { return r.bottom <= top; });
        while (next < rects.size() && rects[next].top == top) active.push_back(rects[next++]);
        if (active.empty()) continue;
        work += qint64(active.size());
        if (work > kMaxSweepWork) return std::nullopt;
        std::sort(active.begin(), active.end(), [](const RECT& a, const RECT& b) { return a.left < b.left; });
        spans.clear();
        for (const RECT& r : active) {
            if (!spans.empty() && r.left <= spans.back().right) {
                spans.back().right = std::max(spans.back().right, r.right);
            } else {
                spans.push_back({r.left, r.right});
            }
        }
        made += qint64(spans.size());
        if (made > kMaxRegionRects) return std::nullopt;
        builder.AddBand(top, bottom, spans);
    }
    return builder.Finish();
}

}  // namespace

quint32 RegionDataSize(const Region& region) {
    return quint32(kRegionHeaderSize + qint64(region.Rects().size()) * kRegionRectSize);
}

QByteArray GetRegionData(const Region& region) {
    const std::vector<RECT>& rects = region.Rects();
    QByteArray out(qsizetype(RegionDataSize(region)), '\0');
    const RECT box = region.Box();
    Put(out, 0, kRegionHeaderSize);
    Put(out, 4, kRectanglesType);
    Put(out, 8, qint32(rects.size()));
    Put(out, 12, qint32(rects.size() * kRegionRectSize));
    Put(out, 16, box.left);
    Put(out, 20, box.top);
    Put(out, 24, box.right);
    Put(out, 28, box.bottom);
    qsizetype at = kRegionHeaderSize;
    for (const RECT& r : rects) {
        Put(out, at, r.left);
        Put(out, at + 4, r.top);
        Put(out, at + 8, r.right);
        Put(out, at + 12, r.bottom);
        at += kRegionRectSize;
    }
    return out;
}

std::optional<Region> ExtCreateRegion(QByteArrayView data) {
    if (data.size() < kRegionHeaderSize || Get(data, 0) != kRegionHeaderSize) return std::nullopt;
    const qint64 count = quint32(Get(data, 8));
    if (count > kMaxRegionRects || data.size() < kRegionHeaderSize + count * kRegionRectSize) {
        return std::nullopt;
    }
    std::vector<RECT> rects;
    rects.reserve(std::size_t(count));
    for (qsizetype at = kRegionHeaderSize; at < kRegionHeaderSize + count * kRegionRectSize;
         at += kRegionRectSize) {
        const RECT r{Get(data, at), Get(data, at + 4), Get(data, at + 8), Get(data, at + 12)};
        if (r.left < r.right && r.top < r.bottom) rects.push_back(r);
    }
    return Union(std::move(rects));
}

}  // namespace platform::gdi
