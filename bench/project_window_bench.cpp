// Load.. and Save.. of a project with many upload entries, through the window's buttons, off
// screen: the chooser answers at once, everything after it is the real work (reading or
// writing the file, the XML, the cipher, the upload list, the history fields, the transfer)
// plus the window's repaint. Run with --benchmark_repetitions=N for medians.
#include "SimulatedServiceManager.h"
#include "platform/FtpLibrary.h"
#include "platform/Profile.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/UpdateLibrary.h"
#include "project/ProjectFile.h"
#include "ui/ProjectManagerDlg.h"
#include "ui/Prompts.h"
#include "ui/WindowServices.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <random>

namespace {

constexpr int kLoadButton = 1031;
constexpr int kSaveButton = 1032;

// Answers every chooser with one path and every message box with OK.
class CFixedPrompts final : public CPrompts {
public:
    PromptAnswer MessageBox(QWidget*, const QString&, const QString&, PromptButtons) override {
        ++messages;
        return PromptAnswer::Ok;
    }
    std::optional<QString> ChooseFile(QWidget*, const FileChooserRequest&) override { return path; }
    QStringList ChooseFiles(QWidget*, const FileChooserRequest&) override { return {}; }
    QString path;
    int messages = 0;
};

class CNoShell final : public CShell {
public:
    intptr_t Execute(const ShellRequest&) override { return kShellDone; }
};

class CNoUpdateLibrary final : public CUpdateLibrary {
public:
    void Tarvon(const std::string&) override {}
    void TarvonWait(const std::string&, int32_t) override {}
};

// A project with entries upload paths in no particular order.
SProject ProjectWithFiles(int entries) {
    SProject project;
    project.scriptFile = "/home/publisher/product/script.txt";
    project.scriptURL = "http://updates.example.com/product/script.txt";
    project.ftpServer = "ftp.example.com";
    project.username = "publisher";
    project.password = "s3cret";
    project.serverFolder = "/product/updates/";
    for (int index = 0; index < entries; ++index)
        project.files.push_back("/home/publisher/product/build/Release-" +
                                std::to_string(index % 97) + "/Module" + std::to_string(index) +
                                (index % 2 ? ".dll" : ".BIN"));
    std::shuffle(project.files.begin(), project.files.end(), std::mt19937(7));
    return project;
}

bool RedirectProfile(const QString& folder) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    return true;
}

// One window, shown off screen, with its services; its profile lives in a temporary folder.
struct SBenchWindow {
    SBenchWindow() {
        profile.SetFirstRun(1);
        window = std::make_unique<CProjectManagerDlg>(services);
    }
    void Click(int id) {
        for (QPushButton* button : window->findChildren<QPushButton*>())
            if (button->property("controlId").toInt() == id)
                button->click();
        QApplication::processEvents();
    }

    QTemporaryDir folder;
    bool profileRedirected = RedirectProfile(folder.path());
    CProfile profile;
    std::unique_ptr<CSystemInfo> system = CreateSystemInfo();
    CNoShell shell;
    CNoUpdateLibrary updateLibrary;
    CFtpLibrary ftpLibrary; // not loaded: nothing is uploaded here
    CFixedPrompts prompts;
    CSimulatedServiceManager serviceManager;
    SWindowServices services{profile,    *system, shell,         updateLibrary,
                             ftpLibrary, prompts, serviceManager};
    std::unique_ptr<CProjectManagerDlg> window;
};

SBenchWindow* g_window = nullptr;

void BM_LoadProject(benchmark::State& state) {
    const QString path = g_window->folder.filePath(QStringLiteral("load.xml"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray::fromStdString(
        ProjectFile::Save(ProjectWithFiles(static_cast<int>(state.range(0))))));
    file.close();
    g_window->prompts.path = path;
    for (auto _ : state)
        g_window->Click(kLoadButton);
    if (g_window->prompts.messages != 0)
        state.SkipWithError("the window reported a problem");
}

void BM_SaveProject(benchmark::State& state) {
    const QString source = g_window->folder.filePath(QStringLiteral("source.xml"));
    QFile file(source);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray::fromStdString(
        ProjectFile::Save(ProjectWithFiles(static_cast<int>(state.range(0))))));
    file.close();
    g_window->window->LoadProjectFile(source);
    g_window->prompts.path = g_window->folder.filePath(QStringLiteral("saved.xml"));
    for (auto _ : state)
        g_window->Click(kSaveButton);
    if (g_window->prompts.messages != 0)
        state.SkipWithError("the window reported a problem");
}

BENCHMARK(BM_LoadProject)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveProject)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    SBenchWindow bench;
    g_window = &bench;
    // The benchmarks run while the window's modal run is under way, as the buttons do.
    QTimer::singleShot(0, bench.window.get(), [&] {
        benchmark::RunSpecifiedBenchmarks();
        bench.window->done(0);
    });
    bench.window->DoModal();
    benchmark::Shutdown();
    return 0;
}
