// The order the collection maker gives a folder's names (SortNaturally), on
// shuffled names of the kind a camera or a download folder holds; the
// argument is how many. Run: build/bin/NaturalOrderBench

#include <benchmark/benchmark.h>

#include <QRandomGenerator>

#include "collect/FolderWalk.h"

using namespace collect;

namespace {

void NaturalOrder(benchmark::State& state) {
    QRandomGenerator random(1);
    QStringList names;
    for (int n = 0; n < state.range(0); ++n)
        names << QStringLiteral("%1_IMG %2 take%3.jpg")
                     .arg(n % 7 ? "Holiday" : "holiday")
                     .arg(random.bounded(100000))
                     .arg(n % 13);
    for (auto _ : state) {
        QStringList sorted = names;
        SortNaturally(sorted);
        benchmark::DoNotOptimize(sorted);
    }
}
BENCHMARK(NaturalOrder)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
