// Times the Project Manager from process start to its window's first frame, off screen, with
// an empty profile and with a profile holding 1,000 history entries per field. Each run starts
// a fresh process of brevane-startup-probe; the median of the runs is reported.
#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

extern char** environ;

namespace {

constexpr int kRuns = 21;
constexpr int kWarmUpRuns = 2;
constexpr int kHistoryEntries = 1000;
const char* const kProbeName = "brevane-startup-probe";

// The probe's profile file under the given configuration folder.
QString ProfileFile(const QString& configFolder) {
    return configFolder + "/Quilldrake/" + kProbeName + ".conf";
}

void WriteFullProfile(const QString& configFolder) {
    QSettings profile(ProfileFile(configFolder), QSettings::IniFormat);
    const QStringList fields = {"ScriptURL", "ScriptFile", "IniFile", "Logfile"};
    for (const QString& field : fields) {
        QStringList entries;
        for (int i = 0; i < kHistoryEntries; ++i)
            entries << QString("/home/publisher/products/release-%1/%2-%3.txt")
                           .arg(i / 50)
                           .arg(field)
                           .arg(i, 4, 10, QChar('0'));
        profile.setValue("History/" + field, entries.join('\n'));
    }
    profile.setValue("Settings/FirstRun", 1);
    profile.setValue("Settings/UseTarvonFn", 1);
}

// Milliseconds from spawning the probe to reading its "frame" line; negative on failure.
double TimeOneStart(const std::string& probe, const std::vector<std::string>& environment) {
    int output[2];
    if (pipe(output) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    std::vector<char*> envp;
    for (const std::string& entry : environment)
        envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);
    char* const argv[] = {const_cast<char*>(probe.c_str()), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, probe.c_str(), &actions, nullptr, argv, envp.data());
    close(output[1]);
    char line[16] = {};
    const bool framed = spawned == 0 && read(output[0], line, sizeof line - 1) > 0;
    const auto end = std::chrono::steady_clock::now();
    close(output[0]);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned == 0)
        waitpid(child, &status, 0);
    if (!framed || QByteArray(line) != "frame\n")
        return -1;
    return std::chrono::duration<double, std::milli>(end - start).count();
}

// Runs the probe repeatedly, preparing the profile before each run; prints the figures.
bool Measure(const char* title, const std::string& probe, const QString& configFolder,
             const std::function<void()>& prepareProfile) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (!QByteArray(*entry).startsWith("XDG_CONFIG_HOME=") &&
            !QByteArray(*entry).startsWith("QT_QPA_PLATFORM="))
            environment.emplace_back(*entry);
    environment.push_back("XDG_CONFIG_HOME=" + configFolder.toStdString());
    environment.push_back("QT_QPA_PLATFORM=offscreen");

    std::vector<double> times;
    for (int run = 0; run < kWarmUpRuns + kRuns; ++run) {
        prepareProfile();
        const double ms = TimeOneStart(probe, environment);
        if (ms < 0) {
            std::fprintf(stderr, "%s: the probe did not report a frame\n", title);
            return false;
        }
        if (run >= kWarmUpRuns)
            times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-44s median %7.1f ms   min %7.1f ms   max %7.1f ms   (%d runs)\n", title,
                times[times.size() / 2], times.front(), times.back(), kRuns);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const std::string probe =
        (QCoreApplication::applicationDirPath() + '/' + kProbeName).toStdString();
    QTemporaryDir configFolder;
    QDir().mkpath(configFolder.path() + "/Quilldrake");
    const QString profile = ProfileFile(configFolder.path());

    std::printf("Process start to the main window's first frame (offscreen):\n");
    const bool emptyDone = Measure("empty profile (first run)", probe, configFolder.path(),
                                   [&] { QFile::remove(profile); });
    const bool fullDone =
        Measure("1,000 history entries per field", probe, configFolder.path(), [&] {
            QFile::remove(profile);
            WriteFullProfile(configFolder.path());
        });
    return emptyDone && fullDone ? 0 : 1;
}
