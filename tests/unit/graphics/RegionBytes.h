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
};

}  // namespace graphicstest
