// Draws the remote control's pictures at build time: ten volume lights
// (1.bmp .. 10.bmp) and the 320 x 200 skin (11.bmp). The window is cut to the
// skin's non-black pixels, so everything outside the body is pure black and
// nothing inside is. Any drawing that breaks that, or moves the body off a
// button's hot zone in either of the window's layouts, fails here rather than
// as a hole in the window.
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "remote/ZoneTable.h"

namespace {

constexpr int W = 320, H = 200;
// A superellipse rather than an ellipse: fuller at the corners, so the far
// buttons (the close cross bottom right above all) still sit on the body.
constexpr double Cx = 160, Cy = 100, Ax = 158.5, By = 98.5, N = 2.6;

const QColor Ink(12, 24, 70);         // shadows, outlines and dark details
const QColor Label(236, 242, 255);    // text and glyphs
const QColor Key(70, 120, 215);       // face of an ordinary button

// The groove the volume lights appear in: deep enough for the bar of either
// layout (the large one's sits five pixels lower).
const QRectF LightGroove(219, 101, 48, 14);

// 0 at the centre, 1 on the outline.
double radius(double x, double y) {
    return std::pow(std::pow(std::abs(x - Cx) / Ax, N) + std::pow(std::abs(y - Cy) / By, N), 1 / N);
}
bool inside(int x, int y) { return radius(x + 0.5, y + 0.5) <= 1; }

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "MakeSkin: %s\n", what);
    std::exit(1);
}

// Blue from light at the top to deep at the bottom, with a bevelled rim lit
// from the upper left and a thin dark edge.
QRgb bodyPixel(int px, int py) {
    const double x = px + 0.5, y = py + 0.5, r = radius(x, y), t = y / H;
    double red = 58 - 34 * t, green = 108 - 58 * t, blue = 205 - 70 * t;
    const double dx = x - Cx, dy = y - Cy;
    double nx = std::copysign(std::pow(std::abs(dx) / Ax, N - 1) / Ax, dx);
    double ny = std::copysign(std::pow(std::abs(dy) / By, N - 1) / By, dy);
    const double len = std::hypot(nx, ny);
    const double lit = len > 0 ? (-0.45 * nx - 0.89 * ny) / len : 0;
    double k = 1 + 0.55 * std::clamp((r - 0.945) / 0.04, 0.0, 1.0) * lit;
    if (r > 0.99) k *= 0.6;
    auto channel = [k](double v) { return int(std::clamp(v * k, 1.0, 255.0)); };
    return qRgb(channel(red), channel(green), channel(blue));
}

QFont font(int pixels, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    // Another face would change the picture from one machine to the next.
    if (QFontInfo(f).family() != QStringLiteral("DejaVu Sans")) fail("the DejaVu Sans font is missing");
    return f;
}

void label(QPainter& p, const QRectF& r, const QString& text, int pixels, const QColor& colour = Label) {
    p.setFont(font(pixels, true));
    p.setPen(Ink);
    p.drawText(r.translated(0.6, 0.8), Qt::AlignCenter, text);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

// A dark dip in the body, lit from the upper left like the rim.
void recess(QPainter& p, const QRectF& r, double round, const QColor& floor) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 190, 255, 110));
    p.drawRoundedRect(r.translated(0.7, 0.9), round, round);
    p.setBrush(Ink);
    p.drawRoundedRect(r, round, round);
    p.setBrush(floor);
    p.drawRoundedRect(r.adjusted(1, 1, 0, 0), round, round);
}

// A raised, rounded key: a soft shadow, a convex face and a rim that is
// light above and dark below.
void button(QPainter& p, const QPainterPath& shape, const QColor& face = Key) {
    const QRectF b = shape.boundingRect();
    p.setPen(Qt::NoPen);
    p.fillPath(shape.translated(0.8, 1.4), QColor(8, 16, 50, 150));
    QLinearGradient fill(b.topLeft(), b.bottomLeft());
    fill.setColorAt(0, face.lighter(155));
    fill.setColorAt(0.55, face);
    fill.setColorAt(1, face.darker(140));
    p.fillPath(shape, fill);
    QLinearGradient rim(b.topLeft(), b.bottomLeft());
    rim.setColorAt(0, QColor(225, 238, 255));
    rim.setColorAt(0.5, face.darker(120));
    rim.setColorAt(1, Ink);
    p.strokePath(shape, QPen(QBrush(rim), 1));
}

QPainterPath pill(const QRectF& r) {
    QPainterPath path;
    path.addRoundedRect(r, r.height() / 2, r.height() / 2);
    return path;
}
QPainterPath disc(const QPointF& centre, double radius) {
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

// A solid triangle pointing left (dir -1) or right (dir 1) with its tip at
// the given point.
void arrow(QPainter& p, QPointF tip, int dir, double width, double height) {
    const QPointF back(tip.x() - dir * width, tip.y());
    const QPointF pts[] = {tip, back + QPointF(0, -height / 2), back + QPointF(0, height / 2)};
    p.setPen(Qt::NoPen);
    p.setBrush(Label);
    p.drawPolygon(pts, 3);
}

void bar(QPainter& p, const QRectF& r) { p.fillRect(r, Label); }

void note(QPainter& p, QPointF c) {
    p.setPen(Qt::NoPen);
    p.setBrush(Label);
    p.save();
    p.translate(c + QPointF(-2, 4));
    p.rotate(-25);
    p.drawEllipse(QPointF(0, 0), 3.2, 2.3);
    p.restore();
    bar(p, QRectF(c.x() + 0.6, c.y() - 7, 1.4, 11));
    QPainterPath flag(QPointF(c.x() + 2, c.y() - 7));
    flag.cubicTo(c.x() + 3, c.y() - 3, c.x() + 7, c.y() - 3, c.x() + 5, c.y() + 1);
    p.strokePath(flag, QPen(Label, 1.4, Qt::SolidLine, Qt::RoundCap));
}

void drawFace(QPainter& p) {
    // Gloss over the upper half.
    QRadialGradient gloss(QPointF(120, 30), 150);
    gloss.setColorAt(0, QColor(255, 255, 255, 60));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRect(0, 0, W, H), gloss);

    // Speeds along the top.
    const struct { QRect zone; const char* text; int pixels; } speeds[] = {
        {{72, 20, 21, 9}, "0.25x", 7}, {{144, 12, 29, 9}, "0.5x", 8}, {{220, 20, 29, 9}, "2.0x", 8}};
    for (const auto& s : speeds) {
        const QRectF r = QRectF(s.zone).adjusted(-3, -2, 3, 2);
        button(p, pill(r));
        label(p, r, QString::fromLatin1(s.text), s.pixels);
    }
    button(p, disc({162.5, 50.5}, 11), QColor(110, 85, 200));
    note(p, {161.5, 50.5});

    // Skipping back and forward on the sides.
    const QRectF back5(10, 70, 29, 13), back1(18, 106, 28, 17), fwd5(278, 70, 33, 13), fwd1(274, 106, 33, 17);
    for (const QRectF& r : {back5, back1, fwd5, fwd1}) button(p, pill(r));
    arrow(p, {16, 76.5}, -1, 7, 8);
    arrow(p, {23, 76.5}, -1, 7, 8);
    arrow(p, {27, 114.5}, -1, 9, 10);
    arrow(p, {302, 76.5}, 1, 7, 8);
    arrow(p, {295, 76.5}, 1, 7, 8);
    arrow(p, {295, 114.5}, 1, 9, 10);

    // The position slider, and the dark window its figures appear in.
    label(p, QRectF(56, 77, 41, 10), QStringLiteral("POS"), 7);
    recess(p, QRectF(60, 91, 33, 3), 1.5, QColor(20, 40, 100));
    button(p, pill(QRectF(69, 87, 6, 10)), QColor(200, 210, 230));
    recess(p, QRectF(48, 99, 61, 43), 6, QColor(22, 44, 112));

    // Play in a ring at the centre; pause below it.
    recess(p, QRectF(139, 76, 47, 49), 23.5, QColor(25, 50, 125));
    button(p, disc({162.5, 100.5}, 20), QColor(60, 150, 235));
    arrow(p, {175, 100.5}, 1, 17, 20);
    button(p, pill(QRectF(141, 142, 35, 17)));
    bar(p, QRectF(154, 146.5, 3, 8));
    bar(p, QRectF(160, 146.5, 3, 8));

    // Volume: down, up, and the groove the lights appear in.
    label(p, QRectF(224, 75, 34, 10), QStringLiteral("Vol"), 8);
    button(p, pill(QRectF(218, 86, 13, 15)));
    bar(p, QRectF(221.5, 93.5, 6, 2));
    button(p, pill(QRectF(246, 90, 17, 11)));
    bar(p, QRectF(251.5, 94.5, 6, 2));
    bar(p, QRectF(253.5, 92.5, 2, 6));
    recess(p, LightGroove, 2, QColor(6, 14, 45));

    button(p, pill(QRectF(237, 142, 39, 17)), QColor(200, 70, 90));
    label(p, QRectF(237, 142, 39, 17), QStringLiteral("Quit"), 9);

    // Clips along the bottom, and the close cross.
    button(p, pill(QRectF(121, 174, 28, 15)));
    bar(p, QRectF(129, 177.5, 2, 8));
    arrow(p, {131, 181.5}, -1, 8, 8);
    arrow(p, {138, 181.5}, -1, 7, 8);
    button(p, pill(QRectF(165, 174, 36, 15)));
    arrow(p, {182, 181.5}, 1, 7, 8);
    arrow(p, {189, 181.5}, 1, 7, 8);
    bar(p, QRectF(189, 177.5, 2, 8));
    QPainterPath close;
    close.addRoundedRect(QRectF(231, 175, 16, 14), 4, 4);
    button(p, close);
    p.setPen(QPen(Label, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(235.5, 178.5), QPointF(242.5, 185.5));
    p.drawLine(QPointF(242.5, 178.5), QPointF(235.5, 185.5));

    QFont logo = font(13, true);
    logo.setItalic(true);
    p.setFont(logo);
    p.setPen(QColor(170, 200, 255));
    p.drawText(QRectF(52, 148, 70, 16), Qt::AlignCenter, QStringLiteral("ZOR RC"));
}

QImage skin() {
    QImage image(W, H, QImage::Format_RGB32);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) image.setPixel(x, y, bodyPixel(x, y));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        drawFace(p);
    }
    // The hard cut that shapes the window: no soft edge leaks outside, and
    // nothing dark inside becomes a hole.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (!inside(x, y)) image.setPixel(x, y, qRgb(0, 0, 0));
            else if ((image.pixel(x, y) & 0xffffff) == 0) image.setPixel(x, y, qRgb(0, 0, 1));
        }
    return image;
}

// Dim green through yellow to bright red, each a small lit bar in a dark case.
QImage light(int level) {
    QImage image(7, 14, QImage::Format_RGB32);
    const double t = (level - 1) / 9.0;
    const QColor lit = QColor::fromHsvF(float(0.33 * (1 - t)), 0.9f, float(0.5 + 0.5 * t));
    QPainter p(&image);
    p.fillRect(0, 0, 7, 14, QColor(20, 24, 40));
    p.fillRect(1, 1, 5, 12, lit.darker(160));
    p.fillRect(2, 2, 3, 10, lit);
    p.fillRect(2, 2, 1, 10, lit.lighter(140));
    return image;
}

void save(const QImage& image, const QString& path) {
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) fail("cannot write an image");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) fail("cannot read an image back");
    const QByteArray header = file.read(30);
    if (header.size() < 30 || header[28] != 24 || header[29] != 0) fail("an image is not a 24-bit BMP");
}

// A place of a layout in the skin's pixels.
QRectF skinPixels(const platform::TwipsRect& r, float perPixel) {
    return {r.Left / perPixel, r.Top / perPixel, r.Width / perPixel, r.Height / perPixel};
}

const remote::ZoneDesign& zoneOf(const char* tooltip) {
    for (const remote::ZoneDesign& zone : remote::kZoneDesigns)
        if (QLatin1String(zone.tooltip) == QLatin1String(tooltip)) return zone;
    fail("a zone is missing from the table");
}

// The buttons are drawn where the small layout's zones are; each zone of
// either layout that the pointer can reach lies on the body, and the large
// layout's zone takes a click on the middle of its button. The volume lights
// of either layout run in their groove.
void checkZones() {
    struct Layout {
        float perPixel;
        float width;  // zones beyond the window's right edge (zoom, mute) are out of reach
        platform::TwipsRect (*place)(const remote::ZoneDesign&);
    };
    const Layout layouts[] = {
        {remote::kTwipsPerSkinPixel, remote::kSmallWindow.Width, [](const remote::ZoneDesign& z) { return z.design; }},
        {remote::kLargeTwipsPerSkinPixel, remote::kLargeWindow.Width, remote::LargePlace}};
    for (const Layout& layout : layouts) {
        for (const remote::ZoneDesign& zone : remote::kZoneDesigns) {
            const platform::TwipsRect place = layout.place(zone);
            if (place.Left + place.Width > layout.width) continue;
            const QRect pixels = skinPixels(place, layout.perPixel).toRect();
            for (int y = pixels.top(); y <= pixels.bottom(); ++y)
                for (int x = pixels.left(); x <= pixels.right(); ++x)
                    if (!inside(x, y)) fail("a hot zone reaches outside the body");
            // The position text is no button (the large layout puts it under the slider).
            if (!*zone.tooltip || zone.design.Left + zone.design.Width > remote::kSmallWindow.Width) continue;
            const QPointF button = skinPixels(zone.design, remote::kTwipsPerSkinPixel).center();
            if (!skinPixels(place, layout.perPixel).contains(button)) fail("a hot zone misses its button");
        }
        // Under Volume Down, from its left edge to Volume Up's right edge, 100 twips high.
        const platform::TwipsRect down = layout.place(zoneOf("Volume Down")), up = layout.place(zoneOf("Volume Up"));
        const platform::TwipsRect lights{down.Left, down.Top + down.Height, up.Left + up.Width - down.Left, 100};
        if (!LightGroove.contains(skinPixels(lights, layout.perPixel))) fail("the volume lights miss their groove");
    }
}

void checkSkin(const QString& path) {
    const QImage image(path);
    if (image.size() != QSize(W, H)) fail("the skin has the wrong size");
    checkZones();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool black = (image.pixel(x, y) & 0xffffff) == 0;
            if (inside(x, y) && black) fail("a pure black pixel inside the body");
            if (!inside(x, y) && !black) fail("a pixel outside the body is not pure black");
        }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) fail("usage: MakeSkin <output folder>");
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) fail("cannot create the output folder");
    for (int level = 1; level <= 10; ++level) save(light(level), out.filePath(QStringLiteral("%1.bmp").arg(level)));
    const QString skinPath = out.filePath(QStringLiteral("11.bmp"));
    save(skin(), skinPath);
    checkSkin(skinPath);
    return 0;
}
