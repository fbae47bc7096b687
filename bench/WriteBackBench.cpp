// One write-back into a small INI file: the folder lock, the search for
// leftover temporaries (a scan of the folder, so its size is the argument:
// other files beside the collection), the read under the lock, the write,
// fsync and rename. Run: build/bin/WriteBackBench

#include <benchmark/benchmark.h>

#include "platform/profile/PrivateProfile.h"
#include "support/TestSupport.h"

namespace {

void WriteBack(benchmark::State& state) {
    testsupport::TempFolder folder;
    for (int n = 0; n < state.range(0); ++n) testsupport::WriteBytes(folder.file(QStringLiteral("clip%1.mkv").arg(n)), {});
    const QString file = folder.file(QStringLiteral("Shows.ini"));
    testsupport::WriteBytes(file, "[ZOR]\nRunAs=X\n");
    int n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::profile::WritePrivateProfileString(u"ZOR", u"RunAs", QString::number(++n), file));
}
BENCHMARK(WriteBack)->Arg(0)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
