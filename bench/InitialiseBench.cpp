// Loading a collection with Initialise, beside one plain parse of the same
// file (read, decode, parse) measured in the same run, and the heap that the
// loaded collection and the cached file hold. InitialiseCollection reads a
// file the cache already holds; InitialiseUnseenFile includes its one parse.
// Run: build/bin/InitialiseBench

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <malloc.h>
#include <string>

#include "config/Initialise.h"
#include "config/Instances.h"
#include "platform/profile/ProfileDocument.h"
#include "platform/profile/ProfileText.h"
#include "platform/system/ProgramInfo.h"
#include "state/RunState.h"
#include "support/CollectionFile.h"
#include "support/TestSupport.h"

using namespace config;

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

// Heap bytes in use: what the loaded collection and the parsed file hold.
long HeapKiB() { return static_cast<long>(mallinfo2().uordblks / 1024); }

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
    state.counters["file_KiB"] = static_cast<double>(QFileInfo(c.file).size() / 1024);
    for (auto _ : state) {
        state.PauseTiming();
        testsupport::ResetProgramState();
        const long before = HeapKiB();
        state.ResumeTiming();
        Initialise(c.file);
        state.PauseTiming();
        memoryKiB = HeapKiB() - before;
        if (gMovies().Count() != state.range(0)) state.SkipWithError("entries were dropped");
        state.ResumeTiming();
    }
    state.counters["entries"] = static_cast<double>(gMovies().Count());
    state.counters["heap_KiB"] = static_cast<double>(memoryKiB);
}

// The start-up figure: a file the cache has not seen yet, so the load
// includes reading and parsing it once.
void InitialiseUnseenFile(benchmark::State& state) {
    const Collection& c = CollectionOf(static_cast<int>(state.range(0)));
    int copies = 0;
    for (auto _ : state) {
        state.PauseTiming();
        testsupport::ResetProgramState();
        const QString copy = c.folder.file(QStringLiteral("Copy%1.ini").arg(++copies));
        QFile::copy(c.file, copy);
        state.ResumeTiming();
        Initialise(copy);
    }
}

BENCHMARK(PlainParse)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(InitialiseCollection)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(InitialiseUnseenFile)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
