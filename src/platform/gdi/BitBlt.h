#pragma once
// Bit-block transfers between the bitmaps selected into memory device
// contexts, with the Windows raster operations.

#include <QtGlobal>

#include "platform/gdi/Gdi.h"

namespace platform::gdi {

// Raster operations: the middle byte is the truth table over pattern,
// source and destination bits. The pattern is the context's brush, which
// is white (all bits set) for a memory context.
constexpr quint32 SRCCOPY = 0x00CC0020;
constexpr quint32 SRCINVERT = 0x00660046;
constexpr quint32 DSTINVERT = 0x00550009;

// Combines the width x height pixels at (xSrc, ySrc) of source with those at
// (x, y) of destination, clipped to both bitmaps; a width or height of 0 or
// below does nothing. Operations that do not read the source accept source
// 0. A bitmap may be copied onto itself. False when a context needed is not a memory context with a bitmap.
bool BitBlt(HDC destination, qint32 x, qint32 y, qint32 width, qint32 height, HDC source, qint32 xSrc,
            qint32 ySrc, quint32 rop);

}  // namespace platform::gdi
