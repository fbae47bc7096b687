// What reading the power source at each entry costs the show
// (platform::ReadPowerSource): against a UPower (faked) on a private system
// bus, against a bus without UPower, and without a system bus at all.
// Run: build/bin/PowerSourceBench [upower | no-upower | no-bus]   (default upower)

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>

#include "platform/system/PowerSource.h"

namespace {

// A private bus, named in DBUS_SYSTEM_BUS_ADDRESS, with or without the fake
// UPower; both ended by their ids when it goes. Set before the first
// read: Qt keeps its system bus connection for the process.
class PrivateSystemBus {
public:
    explicit PrivateSystemBus(bool upower) {
        bus_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        bus_.waitForReadyRead(10000);
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus_.readLine().trimmed());
        if (!upower) return;
        upower_.start(FAKE_DBUS, {"upower", "true"});
        upower_.waitForReadyRead(10000);
    }
    ~PrivateSystemBus() {
        for (QProcess* p : {&upower_, &bus_}) p->kill(), p->waitForFinished();
    }

private:
    QProcess bus_, upower_;
};

void ReadEachEntry(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(platform::ReadPowerSource());
}

}  // namespace

// One bus per process (Qt keeps its connection): the case is the argument.
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QString kind = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("upower");
    std::unique_ptr<PrivateSystemBus> bus;
    if (kind == QLatin1String("no-bus")) qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    else bus = std::make_unique<PrivateSystemBus>(kind == QLatin1String("upower"));
    benchmark::RegisterBenchmark(("ReadPowerSource/" + kind.toStdString()).c_str(), ReadEachEntry)
        ->Unit(benchmark::kMicrosecond);
    int rest = 1;
    benchmark::Initialize(&rest, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
