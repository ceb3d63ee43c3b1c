// What the transfer dialog costs over the engine alone: the same 500 files of 4 KB to the same
// pyftpdlib server on 127.0.0.1, once through CFtpUploadEngine and once through modal runs of
// CFtpTransferWindow shown off screen, as the window's Upload makes them. Run with
// QT_QPA_PLATFORM=offscreen and --benchmark_repetitions=N for medians.
#include "ftp/FtpTransferWindow.h"
#include "ftp/FtpUploadEngine.h"

#include "PyFtpServer.h"
#include "TempFolder.h"
#include "TempProfile.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kFiles = 500;
constexpr size_t kFileBytes = 4096;

struct SBenchSite {
    CPyFtpServer server;
    CTempFolder local;
    std::vector<std::string> files;

    SBenchSite() {
        for (int i = 0; i < kFiles; ++i) {
            files.push_back(local / ("f" + std::to_string(i) + ".bin"));
            WriteFileBytes(files.back(), PatternBytes(kFileBytes, i + 1));
        }
        std::filesystem::create_directory(server.Root() + "/up");
    }
    std::string Remote(int i) const { return "/up/f" + std::to_string(i) + ".bin"; }
};

SBenchSite& Site() {
    static SBenchSite site;
    return site;
}

void BM_SmallFiles_EngineAlone(benchmark::State& state) {
    SBenchSite& site = Site();
    SFtpSettings settings;
    settings.server = site.server.Address();
    settings.user = CPyFtpServer::kUser;
    settings.password = CPyFtpServer::kPassword;
    for (auto _ : state) {
        CFtpUploadEngine engine;
        for (int i = 0; i < kFiles; ++i) {
            if (!engine.Upload(settings, site.files[i], site.Remote(i)).ok) {
                state.SkipWithError("an upload failed");
                return;
            }
        }
    }
}

void BM_SmallFiles_Dialog(benchmark::State& state) {
    SBenchSite& site = Site();
    for (auto _ : state) {
        CFtpTransferWindow dialog;
        dialog.m_strServer = site.server.Address();
        dialog.m_strUsername = CPyFtpServer::kUser;
        dialog.m_strPassword = CPyFtpServer::kPassword;
        dialog.m_bUseProxy = 0;
        for (int i = 0; i < kFiles; ++i) {
            dialog.m_strLocalPath = site.files[i];
            dialog.m_strRemotePath = site.Remote(i);
            if (dialog.DoModal() != 1) {
                state.SkipWithError("an upload failed");
                return;
            }
        }
    }
}

} // namespace

BENCHMARK(BM_SmallFiles_EngineAlone)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SmallFiles_Dialog)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const CTempProfile profile; // the dialog reads its trust settings from a profile
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
