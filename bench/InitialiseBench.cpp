// Loading a collection with Initialise, beside one plain parse of the same
// file (read, decode, parse) measured in the same run, and the memory that
// the loaded collection takes. Run: build/bin/InitialiseBench

#include <benchmark/benchmark.h>

#include <QFile>
#include <fstream>
#include <string>
#include <unistd.h>

#include "config/Initialise.h"
#include "config/MovieCollection.h"
#include "platform/profile/ProfileDocument.h"
#include "platform/profile/ProfileText.h"
#include "platform/system/ProgramInfo.h"
#include "startup/RunState.h"
#include "support/CollectionFile.h"
#include "support/TestSupport.h"

namespace {

struct Collection {
    testsupport::TempFolder folder;
    QString file;
};

const Collection& CollectionOf(int entries) {
    static std::map<int, std::unique_ptr<Collection>> made;
    auto& slot = made[entries];
    if (!slot) {
        slot = std::make_unique<Collection>();
        testsupport::WriteBytes(slot->folder.file(QStringLiteral("clip.mkv")), "x");
        testsupport::CollectionSpec spec;
        spec.errorLog = slot->folder.file(QStringLiteral("ZORError.Log"));
        for (int n = 0; n < entries; ++n)
            spec.entries.append({QStringLiteral("clip.mkv"), slot->folder.path() + u'/', {}, {}});
        slot->file = slot->folder.file(QStringLiteral("Shows.ini"));
        testsupport::WriteBytes(slot->file, testsupport::CollectionText(spec));
    }
    return *slot;
}

long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void PlainParse(benchmark::State& state) {
    const Collection& c = CollectionOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QFile f(c.file);
        f.open(QIODevice::ReadOnly);
        const auto decoded = platform::profile::DecodeText(f.readAll());
        benchmark::DoNotOptimize(platform::profile::ProfileDocument::Parse(decoded.text));
    }
}

void InitialiseCollection(benchmark::State& state) {
    const Collection& c = CollectionOf(static_cast<int>(state.range(0)));
    long memoryKiB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResetRunState();
        const long before = ResidentKiB();
        state.ResumeTiming();
        Initialise(c.file);
        state.PauseTiming();
        memoryKiB = ResidentKiB() - before;
        if (gMovies().Count() != state.range(0)) state.SkipWithError("entries were dropped");
        state.ResumeTiming();
    }
    state.counters["entries"] = static_cast<double>(gMovies().Count());
    state.counters["rss_growth_KiB"] = static_cast<double>(memoryKiB);
}

BENCHMARK(PlainParse)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(InitialiseCollection)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
