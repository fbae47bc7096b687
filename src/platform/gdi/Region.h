#pragma once
// A region as GDI keeps it: rectangles in y-x bands. The rectangles are
// sorted by top, then by left; every rectangle of a band has the band's top
// and bottom; rectangles of a band neither overlap nor touch (they are
// merged), and a band never touches one above it with the same spans (they
// are merged too). That form is unique, so two regions cover the same
// pixels exactly when their rectangles are equal. Right and bottom are
// exclusive. A Region is a value: applying it to a window applies a copy.

#include <QtGlobal>
#include <span>
#include <vector>

namespace platform::gdi {

struct RECT {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
    friend bool operator==(const RECT&, const RECT&) = default;
};

// A run of pixels [left, right) within one band.
struct Span {
    qint32 left = 0;
    qint32 right = 0;
    friend bool operator==(const Span&, const Span&) = default;
};

class Region {
public:
    Region() = default;  // empty

    const std::vector<RECT>& Rects() const { return rects_; }
    bool IsEmpty() const { return rects_.empty(); }
    RECT Box() const;  // the bounding rectangle; all 0 when empty

    friend bool operator==(const Region&, const Region&) = default;

private:
    friend class RegionBuilder;
    std::vector<RECT> rects_;
};

// Builds a region band by band, from the top down, merging each band into
// the one above it when they touch and have the same spans; the cost is
// linear in the rectangles given.
class RegionBuilder {
public:
    // spans: sorted by left, not overlapping and not touching. top must not
    // be above the bottom of the band added before; a band without spans
    // adds nothing.
    void AddBand(qint32 top, qint32 bottom, std::span<const Span> spans);
    Region Finish();

private:
    std::vector<RECT> rects_;
    std::size_t lastBand_ = 0;  // index of the first rectangle of the last band
};

}  // namespace platform::gdi
