#include "platform/gdi/Region.h"

#include <algorithm>
#include <utility>

namespace platform::gdi {

RECT Region::Box() const {
    if (rects_.empty()) return {};
    RECT box{rects_.front().left, rects_.front().top, rects_.front().right, rects_.back().bottom};
    for (const RECT& r : rects_) {
        box.left = std::min(box.left, r.left);
        box.right = std::max(box.right, r.right);
    }
    return box;
}

void RegionBuilder::AddBand(qint32 top, qint32 bottom, std::span<const Span> spans) {
    if (spans.empty() || top >= bottom) return;
    const std::size_t last = rects_.size() - lastBand_;
    if (!rects_.empty() && rects_.back().bottom == top && last == spans.size() &&
        std::equal(spans.begin(), spans.end(), rects_.begin() + std::ptrdiff_t(lastBand_),
                   [](const Span& s, const RECT& r) { return s.left == r.left && s.right == r.right; })) {
        for (std::size_t i = lastBand_; i < rects_.size(); ++i) rects_[i].bottom = bottom;
        return;
    }
    lastBand_ = rects_.size();
    for (const Span& s : spans) rects_.push_back({s.left, top, s.right, bottom});
}

Region RegionBuilder::Finish() {
    Region region;
    region.rects_ = std::exchange(rects_, {});
    lastBand_ = 0;
    return region;
}

}  // namespace platform::gdi
