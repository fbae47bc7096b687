// Building a window region from a bitmap with cDIBSectionRegion::Create,
// beside one plain pass over the same pixels (every row, every pixel's three
// bytes compared with the transparent colour) measured in the same run: the
// least any build must do. Three pictures: a 320 x 200 skin (an oval face
// with buttons on black, loaded as a picture), 1920 x 1080 of noise with 5%
// of its pixels black, and a 1920 x 1080 checkerboard of single black and
// white pixels (the most rectangles a picture can need). For the skin, and a
// 320 x 200 checkerboard, also the naive build it replaces: the full
// rectangle with every one-pixel-wide transparent run of every column
// combined into it by exclusive-or, one at a time. The ratios build / plain
// and naive / build are printed at the end.
// Run: build/bin/RegionBench [--benchmark_repetitions=5]  (the ratios then use the medians)

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "graphics/cDIBSection.h"
#include "graphics/cDIBSectionRegion.h"
#include "platform/gdi/Picture.h"
#include "support/TestSupport.h"

using namespace graphics;

namespace {

constexpr qint32 kTransparent = 0;  // black, 0x00BBGGRR

struct Picture {
    std::string name;
    cDIBSection dib;
};

QImage Skin() {
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);  // antialiased edges would not be black
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x50, 0x60, 0x90));
    painter.drawEllipse(QRect(4, 4, 312, 192));
    const QColor buttons[] = {QColor(0xD0, 0x30, 0x30), QColor(0x30, 0xB0, 0x40), QColor(0xE0, 0xC0, 0x20),
                              QColor(0x20, 0x90, 0xE0)};
    for (int i = 0; i < 4; ++i) {
        painter.setBrush(buttons[i]);
        painter.drawRoundedRect(QRect(70 + i * 48, 130, 36, 22), 6, 6);
    }
    painter.setBrush(QColor(0x10, 0x20, 0x30));  // a screen panel
    painter.drawRect(QRect(80, 40, 160, 70));
    return image;
}

QImage Noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 generator(20240601);
    std::uniform_int_distribution<quint32> colour(1, 0xFFFFFF);  // never black
    std::bernoulli_distribution black(0.05);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = black(generator) ? 0xFF000000u : 0xFF000000u | colour(generator);
    }
    return image;
}

QImage Checkerboard(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u;
    }
    return image;
}

std::unique_ptr<Picture> Load(std::string name, const QImage& image) {
    auto picture = std::make_unique<Picture>();
    picture->name = std::move(name);
    picture->dib.CreateFromPicture(platform::gdi::StdPicture(image));
    return picture;
}

bool IsTransparent(const quint8* pixel) {
    // & rather than &&: no branch to mispredict on noise.
    return (pixel[0] == quint8(kTransparent >> 16)) & (pixel[1] == quint8(kTransparent >> 8)) &
           (pixel[2] == quint8(kTransparent));
}

const quint8* Row(const cDIBSection& dib, qint32 y) {  // from the top; rows are stored bottom-up
    return dib.DIBSectionBitsPtr() + qsizetype(dib.Height() - 1 - y) * dib.BytesPerScanLine();
}

void SetPixelCounters(benchmark::State& state, const cDIBSection& dib) {
    state.SetItemsProcessed(state.iterations() * qint64(dib.Width()) * dib.Height());
    state.counters["pixels"] = double(qint64(dib.Width()) * dib.Height());
}

void PlainPass(benchmark::State& state, const Picture* picture) {
    const cDIBSection& dib = picture->dib;
    // In locals: the pixels are bytes, which may alias anything, so the
    // compiler would reload the size from the object at every pixel.
    const qint32 width = dib.Width(), height = dib.Height();
    for (auto _ : state) {
        qint64 transparent = 0;
        for (qint32 y = 0; y < height; ++y) {
            const quint8* pixel = Row(dib, y);
            for (qint32 x = 0; x < width; ++x, pixel += 3) transparent += IsTransparent(pixel);
        }
        benchmark::DoNotOptimize(transparent);
    }
    SetPixelCounters(state, dib);
}

void Build(benchmark::State& state, const Picture* picture) {
    cDIBSectionRegion region;
    for (auto _ : state) {
        region.Create(picture->dib, kTransparent);
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, picture->dib);
    // The saved data is a 32-byte header and 16 bytes a rectangle.
    testsupport::TempFolder folder;
    const QString file = folder.file(QStringLiteral("region.rgn"));
    region.Save(file);
    state.counters["rects"] = double((QFileInfo(file).size() - 32) / 16);
}

void NaiveXor(benchmark::State& state, const Picture* picture) {
    const cDIBSection& dib = picture->dib;
    QRegion region;
    for (auto _ : state) {
        region = QRegion(0, 0, dib.Width(), dib.Height());
        for (qint32 x = 0; x < dib.Width(); ++x) {
            qint32 start = -1;
            for (qint32 y = 0; y <= dib.Height(); ++y) {
                const bool transparent = y < dib.Height() && IsTransparent(Row(dib, y) + x * 3);
                if (transparent && start < 0) {
                    start = y;
                } else if (!transparent && start >= 0) {
                    region ^= QRegion(x, start, 1, y - start);
                    start = -1;
                }
            }
        }
        benchmark::DoNotOptimize(region);
    }
    SetPixelCounters(state, dib);
    state.counters["rects"] = double(region.rectCount());
}

// The console's report, with each benchmark's time per iteration kept for
// the ratios: the median of its repetitions when it is repeated (they come
// after the single runs), else its one run.
class KeepingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration, median = run.aggregate_name == "median";
            if (run.error_occurred || !(single || median)) continue;
            seconds[run.run_name.str()] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    // The naive build only at 320 x 200: at 1920 x 1080 it takes minutes.
    std::vector<std::pair<std::unique_ptr<Picture>, bool>> pictures;
    pictures.emplace_back(Load("skin_320x200", Skin()), true);
    pictures.emplace_back(Load("noise_1920x1080", Noise(1920, 1080)), false);
    pictures.emplace_back(Load("checker_1920x1080", Checkerboard(1920, 1080)), false);
    pictures.emplace_back(Load("checker_320x200", Checkerboard(320, 200)), true);
    for (const auto& [p, naive] : pictures) {
        benchmark::RegisterBenchmark(("PlainPass/" + p->name).c_str(), PlainPass, p.get())
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Build/" + p->name).c_str(), Build, p.get())->Unit(benchmark::kMicrosecond);
        if (naive)
            benchmark::RegisterBenchmark(("NaiveXor/" + p->name).c_str(), NaiveXor, p.get())
                ->Unit(benchmark::kMillisecond);
    }

    KeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%-20s %12s %12s %12s %10s %12s\n", "picture", "plain us", "build us", "naive us", "build/plain",
                "naive/build");
    for (const auto& entry : pictures) {
        const std::string& name = entry.first->name;
        const auto time = [&](const std::string& what) {
            const auto found = reporter.seconds.find(what + '/' + name);
            return found == reporter.seconds.end() ? 0.0 : found->second * 1e6;
        };
        const double plain = time("PlainPass"), build = time("Build"), naive = time("NaiveXor");
        if (plain == 0 || build == 0) continue;  // filtered out
        std::printf("%-20s %12.1f %12.1f ", name.c_str(), plain, build);
        if (naive > 0) {
            std::printf("%12.1f %10.2f %12.1f\n", naive, build / plain, naive / build);
        } else {
            std::printf("%12s %10.2f %12s\n", "-", build / plain, "-");
        }
    }
    return 0;
}
