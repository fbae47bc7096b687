#include "platform/gdi/BitBlt.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/GdiTable.h"

namespace platform::gdi {
namespace {

using detail::Bitmap;

constexpr quint8 kBrush = 0xFF;  // a memory context's white brush

bool UsesSource(quint32 rop) { return (((rop >> 2) ^ rop) & 0x330000) != 0; }

// One byte of the result: the OR of the minterms the truth table selects,
// with pattern as bit 2, source as bit 1 and destination as bit 0 of the
// table's index.
quint8 Combine(quint8 table, quint8 source, quint8 destination) {
    quint8 result = 0;
    for (int index = 0; index < 8; ++index) {
        if (!(table & (1 << index))) continue;
        const quint8 p = (index & 4) ? kBrush : quint8(~kBrush);
        const quint8 s = (index & 2) ? source : quint8(~source);
        const quint8 d = (index & 1) ? destination : quint8(~destination);
        result |= p & s & d;
    }
    return result;
}

void CopyRow(const Bitmap& from, const quint8* in, const Bitmap& to, quint8* out, qint32 pixels) {
    if (from.bytesPerPixel == to.bytesPerPixel) {
        std::memmove(out, in, std::size_t(pixels) * std::size_t(to.bytesPerPixel));
        return;
    }
    for (qint32 i = 0; i < pixels; ++i, in += from.bytesPerPixel, out += to.bytesPerPixel) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        if (to.bytesPerPixel == 4) out[3] = 0;
    }
}

void CombineRow(quint8 table, const Bitmap* from, const quint8* in, const Bitmap& to, quint8* out,
                qint32 pixels) {
    for (qint32 i = 0; i < pixels; ++i, out += to.bytesPerPixel) {
        for (int channel = 0; channel < 3; ++channel) {
            out[channel] = Combine(table, in ? in[channel] : 0, out[channel]);
        }
        if (in) in += from->bytesPerPixel;
    }
}

}  // namespace

bool BitBlt(HDC destination, qint32 x, qint32 y, qint32 width, qint32 height, HDC source, qint32 xSrc,
            qint32 ySrc, quint32 rop) {
    Bitmap* to = detail::SelectedBitmap(destination);
    if (!to) return false;
    const bool usesSource = UsesSource(rop);
    const Bitmap* from = usesSource ? detail::SelectedBitmap(source) : nullptr;
    if (usesSource && !from) return false;

    // Clip in 64 bits so that no coordinate can overflow.
    qint64 left = x, top = y, right = qint64(x) + width, bottom = qint64(y) + height;
    left = std::max<qint64>(left, 0);
    top = std::max<qint64>(top, 0);
    right = std::min<qint64>(right, to->width);
    bottom = std::min<qint64>(bottom, to->height);
    if (from) {
        const qint64 dx = qint64(x) - xSrc, dy = qint64(y) - ySrc;
        left = std::max(left, dx);
        top = std::max(top, dy);
        right = std::min(right, dx + from->width);
        bottom = std::min(bottom, dy + from->height);
    }
    if (left >= right || top >= bottom) return true;

    const quint8 table = quint8(rop >> 16);
    const qint32 pixels = qint32(right - left);
    // Within one bitmap, rows moving down are copied from the bottom up.
    const bool bottomFirst = from == to && qint64(ySrc) < y;
    for (qint64 i = top; i < bottom; ++i) {
        const qint64 row = bottomFirst ? bottom - 1 - (i - top) : i;
        quint8* out = to->Row(qint32(row)) + left * to->bytesPerPixel;
        const quint8* in = nullptr;
        if (from) in = from->Row(qint32(row - y + ySrc)) + (left - x + xSrc) * from->bytesPerPixel;
        if (rop == SRCCOPY) {
            CopyRow(*from, in, *to, out, pixels);
        } else {
            CombineRow(table, from, in, *to, out, pixels);
        }
    }
    return true;
}

}  // namespace platform::gdi
