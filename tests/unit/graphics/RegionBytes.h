#pragma once
// Region data as the tests write and read it: little-endian 32-bit fields,
// a 32-byte header, then rectangles of four fields.

#include <QByteArray>
#include <QtEndian>
#include <initializer_list>
#include <vector>

#include "platform/gdi/Region.h"

namespace graphicstest {

using platform::gdi::RECT;

struct RegionBytes {
    static QByteArray Of(std::initializer_list<qint32> fields) {
        QByteArray bytes(qsizetype(fields.size() * 4), '\0');
        qsizetype at = 0;
        for (qint32 f : fields) qToLittleEndian(f, bytes.data() + (at++) * 4);
        return bytes;
    }
    // The rectangles of well-formed data; what follows the count is ignored.
    static std::vector<RECT> Rects(const QByteArray& bytes) {
        std::vector<RECT> rects;
        const auto at = [&](qsizetype i) { return qFromLittleEndian<qint32>(bytes.constData() + i * 4); };
        for (qint32 i = 0; i < at(2); ++i) rects.push_back({at(8 + 4 * i), at(9 + 4 * i), at(10 + 4 * i), at(11 + 4 * i)});
        return rects;
    }
    static QByteArray FromRects(const std::vector<RECT>& rects) {
        QByteArray bytes = Of({32, 1, qint32(rects.size()), qint32(rects.size() * 16), 0, 0, 0, 0});
        for (const RECT& r : rects) bytes += Of({r.left, r.top, r.right, r.bottom});
        return bytes;
    }
    static bool Covers(const std::vector<RECT>& rects, int x, int y) {
        for (const RECT& r : rects)
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
        return false;
    }
    // Sorted by top then left; one top and bottom per band; no touching
    // rectangles in a band; no band touching the one above with the same spans.
    static bool IsBanded(const std::vector<RECT>& rects) {
        std::size_t start = 0, previous = 0, previousEnd = 0;
        while (start < rects.size()) {
            std::size_t end = start + 1;
            while (end < rects.size() && rects[end].top == rects[start].top) ++end;
            for (std::size_t i = start; i < end; ++i) {
                const RECT& r = rects[i];
                if (r.left >= r.right || r.bottom != rects[start].bottom || r.top >= r.bottom) return false;
                if (i > start && r.left <= rects[i - 1].right) return false;
            }
            if (start > 0) {
                if (rects[start].top < rects[previous].bottom) return false;
                bool same = rects[start].top == rects[previous].bottom && end - start == previousEnd - previous;
                for (std::size_t k = 0; same && k < end - start; ++k)
                    same = rects[start + k].left == rects[previous + k].left && rects[start + k].right == rects[previous + k].right;
                if (same) return false;
            }
            previous = start, previousEnd = end, start = end;
        }
        return true;
    }
};

}  // namespace graphicstest
