// Upload speed of CFtpUploadEngine against the curl command line, both sending to the same
// pyftpdlib server on 127.0.0.1 in the same run. Run with --benchmark_repetitions=N for
// medians; the per-file counters are milliseconds.
#include "ftp/FtpUploadEngine.h"

#include "PyFtpServer.h"
#include "ServerProcess.h"
#include "TempFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

constexpr size_t kBigFileBytes = 200u << 20;
constexpr size_t kSmallFileBytes = 4096;
constexpr int kSmallFiles = 2000;
const char* const kCurl = "/usr/bin/curl";

// The server and the local files, made once for all benchmarks.
struct SBenchSite {
    CPyFtpServer server;
    CTempFolder local;
    std::string bigFile = local / "big.bin";

    SBenchSite() {
        WriteFileBytes(bigFile, PatternBytes(kBigFileBytes, 1));
        for (int i = 1; i <= kSmallFiles; ++i) {
            WriteFileBytes(SmallFile(i), PatternBytes(kSmallFileBytes, i + 1));
        }
        fs::create_directory(server.Root() + "/small");
    }
    // f0001.bin ... f2000.bin, so that curl's [0001-0500] range names them.
    std::string SmallFile(int i) const {
        char name[16];
        std::snprintf(name, sizeof name, "f%04d.bin", i);
        return local / name;
    }
    SFtpSettings Settings() const {
        SFtpSettings settings;
        settings.server = server.Address();
        settings.user = CPyFtpServer::kUser;
        settings.password = CPyFtpServer::kPassword;
        return settings;
    }
    std::string CurlUrl(const std::string& path) const {
        return "ftp://" + std::string(CPyFtpServer::kUser) + ":" + CPyFtpServer::kPassword + "@" +
               server.Address() + path;
    }
};

SBenchSite& Site() {
    static SBenchSite site;
    return site;
}

double Milliseconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void ReportPerFile(benchmark::State& state, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p99_ms"] = times[std::min(times.size() - 1, times.size() * 99 / 100)];
    state.counters["max_ms"] = times.back();
    state.counters["over_50ms"] = static_cast<double>(
        std::count_if(times.begin(), times.end(), [](double ms) { return ms > 50; }));
}

void BM_BigFile_Engine(benchmark::State& state) {
    SBenchSite& site = Site();
    CFtpUploadEngine engine;
    for (auto _ : state) {
        const SFtpResult result = engine.Upload(site.Settings(), site.bigFile, "/big-engine.bin");
        if (!result.ok) {
            state.SkipWithError(result.Describe().c_str());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBigFileBytes));
}

void BM_BigFile_Curl(benchmark::State& state) {
    SBenchSite& site = Site();
    for (auto _ : state) {
        CServerProcess::RunCommand(
            {kCurl, "-sS", "-T", site.bigFile, site.CurlUrl("/big-curl.bin")});
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBigFileBytes));
}

// state.range(0) small files through one engine, one login.
void BM_SmallFiles_Engine(benchmark::State& state) {
    SBenchSite& site = Site();
    const int files = static_cast<int>(state.range(0));
    std::vector<double> times;
    for (auto _ : state) {
        CFtpUploadEngine engine;
        for (int i = 1; i <= files; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const SFtpResult result =
                engine.Upload(site.Settings(), site.SmallFile(i), "/small/" + std::to_string(i));
            times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
            if (!result.ok) {
                state.SkipWithError(result.Describe().c_str());
                return;
            }
        }
    }
    ReportPerFile(state, std::move(times));
}

// The same files with one curl run: one connection, files named by curl's glob.
void BM_SmallFiles_CurlOneConnection(benchmark::State& state) {
    SBenchSite& site = Site();
    char glob[32];
    std::snprintf(glob, sizeof glob, "f[0001-%04d].bin", static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CServerProcess::RunCommand(
            {kCurl, "-sS", "-T", site.local / glob, site.CurlUrl("/small/")});
    }
}

// One curl run, so one connection and login, per file.
void BM_SmallFiles_CurlPerFile(benchmark::State& state) {
    SBenchSite& site = Site();
    const int files = static_cast<int>(state.range(0));
    std::vector<double> times;
    for (auto _ : state) {
        for (int i = 1; i <= files; ++i) {
            const auto start = std::chrono::steady_clock::now();
            CServerProcess::RunCommand({kCurl, "-sS", "-T", site.SmallFile(i),
                                        site.CurlUrl("/small/c" + std::to_string(i))});
            times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
        }
    }
    ReportPerFile(state, std::move(times));
}

} // namespace

BENCHMARK(BM_BigFile_Engine)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BigFile_Curl)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SmallFiles_Engine)
    ->Arg(500)
    ->Arg(kSmallFiles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_SmallFiles_CurlOneConnection)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_SmallFiles_CurlPerFile)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

BENCHMARK_MAIN();
