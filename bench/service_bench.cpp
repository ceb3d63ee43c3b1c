// The cost of one status tick of the window: QueryState on a fresh controller, against the
// systemd stand-in on a private bus. Reports the median and the 99th percentile of single calls.
#include "SystemdStandIn.h"
#include "service/ServiceController.h"
#include "service/SystemdServiceManager.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr int kCalls = 2000;

void ReportPercentiles(benchmark::State& state, std::vector<double>& microseconds) {
    std::sort(microseconds.begin(), microseconds.end());
    const auto at = [&](double fraction) {
        return microseconds[static_cast<size_t>(fraction * (microseconds.size() - 1))];
    };
    state.counters["median_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
}

// Times each call of query separately.
template <typename Query> void TimeCalls(benchmark::State& state, Query query) {
    std::vector<double> microseconds;
    microseconds.reserve(kCalls);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(query());
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - start;
        microseconds.push_back(took.count());
    }
    ReportPercentiles(state, microseconds);
}

// What the window does every second: a fresh controller over the application's manager.
void BM_Tick_RunningUnit(benchmark::State& state) {
    CSystemdServiceManager manager;
    TimeCalls(state, [&] { return CServiceController(manager).QueryState("Tarvon4"); });
}

// A stopped unit also has its main process result read.
void BM_Tick_StoppedUnit(benchmark::State& state) {
    CSystemdServiceManager manager;
    TimeCalls(state, [&] { return CServiceController(manager).QueryState("Stopped"); });
}

// What keeping the bus connection in the manager saves: a new connection for every query.
void BM_Tick_NewBusConnection(benchmark::State& state) {
    TimeCalls(state, [&] {
        CSystemdServiceManager manager;
        return CServiceController(manager).QueryState("Tarvon4");
    });
}

BENCHMARK(BM_Tick_RunningUnit)->Iterations(kCalls)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Tick_StoppedUnit)->Iterations(kCalls)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Tick_NewBusConnection)->Iterations(kCalls / 4)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    const CSystemdStandIn standIn({{"Tarvon4.service", "active"}, {"Stopped.service"}});
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
