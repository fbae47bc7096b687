#include "platform/gdi/Gdi.h"

#include <limits>
#include <unordered_map>
#include <variant>

#include "platform/gdi/GdiTable.h"

namespace platform::gdi {
namespace detail {
namespace {

struct DeviceContext {
    bool screen = false;
    HBITMAP selected = 0;
};

using Object = std::variant<DeviceContext, std::unique_ptr<Bitmap>>;

struct Table {
    std::unordered_map<quint32, Object> objects;
    quint32 lastHandle = 0;
    HDC screen = 0;
    HBITMAP stockBitmap = 0;

    quint32 Add(Object object) {
        do {
            ++lastHandle;
        } while (lastHandle == 0 || objects.contains(lastHandle));
        objects.emplace(lastHandle, std::move(object));
        return lastHandle;
    }

    DeviceContext* FindDC(HDC hdc) {
        const auto it = objects.find(hdc);
        return it == objects.end() ? nullptr : std::get_if<DeviceContext>(&it->second);
    }
};

Table& TheTable() {
    static Table table;
    return table;
}

// Windows gives every new memory context a 1 x 1 stock bitmap.
HBITMAP StockBitmap() {
    Table& table = TheTable();
    if (table.stockBitmap == 0) table.stockBitmap = AddBitmap(NewBitmap(1, 1, 4, false));
    return table.stockBitmap;
}

}  // namespace

std::unique_ptr<Bitmap> NewBitmap(qint32 width, qint32 height, qint32 bytesPerPixel, bool bottomUp) {
    if (width <= 0 || height <= 0) return nullptr;
    const qint64 stride = (qint64(width) * bytesPerPixel + 3) & ~qint64(3);
    const qint64 size = stride * height;
    if (size > std::numeric_limits<qint32>::max()) return nullptr;
    // calloc leaves untouched pages unmapped, so a large bitmap costs only what is drawn.
    std::unique_ptr<quint8[], FreeDeleter> bits(static_cast<quint8*>(std::calloc(std::size_t(size), 1)));
    if (!bits) return nullptr;
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->bytesPerPixel = bytesPerPixel;
    bitmap->stride = qint32(stride);
    bitmap->bottomUp = bottomUp;
    bitmap->bits = std::move(bits);
    return bitmap;
}

HBITMAP AddBitmap(std::unique_ptr<Bitmap> bitmap) {
    if (!bitmap) return 0;
    return TheTable().Add(std::move(bitmap));
}

Bitmap* FindBitmap(HGDIOBJ handle) {
    Table& table = TheTable();
    const auto it = table.objects.find(handle);
    if (it == table.objects.end()) return nullptr;
    auto* bitmap = std::get_if<std::unique_ptr<Bitmap>>(&it->second);
    return bitmap ? bitmap->get() : nullptr;
}

Bitmap* SelectedBitmap(HDC hdc) {
    const DeviceContext* dc = TheTable().FindDC(hdc);
    return dc && !dc->screen ? FindBitmap(dc->selected) : nullptr;
}

}  // namespace detail

using namespace detail;

HDC GetDC() {
    Table& table = TheTable();
    if (table.screen == 0) table.screen = table.Add(DeviceContext{true, 0});
    return table.screen;
}

bool ReleaseDC(HDC hdc) { return hdc != 0 && hdc == TheTable().screen; }

HDC CreateCompatibleDC(HDC hdc) {
    Table& table = TheTable();
    if (hdc != 0 && !table.FindDC(hdc)) return 0;
    const HBITMAP stock = StockBitmap();
    if (stock == 0) return 0;
    return table.Add(DeviceContext{false, stock});
}

bool DeleteDC(HDC hdc) {
    Table& table = TheTable();
    DeviceContext* dc = table.FindDC(hdc);
    if (!dc || dc->screen) return false;
    if (Bitmap* selected = FindBitmap(dc->selected); selected && dc->selected != table.stockBitmap) {
        selected->selectedInto = 0;
    }
    table.objects.erase(hdc);
    return true;
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFOHEADER& header, quint32 usage, quint8** bits) {
    if (bits) *bits = nullptr;
    if (hdc != 0 && !TheTable().FindDC(hdc)) return 0;
    if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biBitCount != 24 ||
        header.biCompression != BI_RGB || usage != DIB_RGB_COLORS || header.biHeight <= 0) {
        return 0;
    }
    std::unique_ptr<Bitmap> bitmap = NewBitmap(header.biWidth, header.biHeight, 3, true);
    if (!bitmap) return 0;
    bitmap->dibSection = true;
    quint8* memory = bitmap->bits.get();
    const HBITMAP handle = AddBitmap(std::move(bitmap));
    if (bits && handle) *bits = memory;
    return handle;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    Table& table = TheTable();
    DeviceContext* dc = table.FindDC(hdc);
    Bitmap* bitmap = FindBitmap(object);
    if (!dc || dc->screen || !bitmap) return 0;
    const bool stock = object == table.stockBitmap;
    if (!stock && bitmap->selectedInto != 0 && bitmap->selectedInto != hdc) return 0;
    const HBITMAP previous = dc->selected;
    if (Bitmap* old = FindBitmap(previous); old && previous != table.stockBitmap) old->selectedInto = 0;
    if (!stock) bitmap->selectedInto = hdc;
    dc->selected = object;
    return previous;
}

bool DeleteObject(HGDIOBJ object) {
    Table& table = TheTable();
    const Bitmap* bitmap = FindBitmap(object);
    if (!bitmap) return false;
    if (object == table.stockBitmap) return true;
    if (bitmap->selectedInto != 0) return false;
    table.objects.erase(object);
    return true;
}

int GetObject(HGDIOBJ object, BITMAP* bitmap) {
    const Bitmap* found = FindBitmap(object);
    if (!found || !bitmap) return 0;
    bitmap->bmType = 0;
    bitmap->bmWidth = found->width;
    bitmap->bmHeight = found->height;
    bitmap->bmWidthBytes = found->stride;
    bitmap->bmPlanes = 1;
    bitmap->bmBitsPixel = quint16(found->bytesPerPixel * 8);
    bitmap->bmBits = found->dibSection ? found->bits.get() : nullptr;
    return int(sizeof(BITMAP));
}

int GdiObjectCount() {
    const Table& table = TheTable();
    int count = int(table.objects.size());
    if (table.screen) --count;
    if (table.stockBitmap) --count;
    return count;
}

}  // namespace platform::gdi
