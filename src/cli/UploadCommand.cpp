#include "cli/UploadCommand.h"

#include "cli/CliCommands.h"
#include "cli/FileAccess.h"
#include "ftp/FtpUploadEngine.h"
#include "project/ProjectFile.h"
#include "project/RemotePath.h"
#include "project/TextEncoding.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <unistd.h>

namespace {

// One file's outcome, as printed.
struct SFileOutcome {
    std::string local;
    std::string remote;
    SFtpResult result;
    double seconds = 0;
};

SFtpSettings SettingsOf(const SProject& project, const SUploadRequest& request,
                        const std::string& password) {
    SFtpSettings settings;
    settings.server = project.ftpServer;
    settings.user = project.username;
    settings.password = password;
    settings.passive = project.pasv;
    settings.systemProxy = project.preconfig;
    settings.useProxy = project.useProxy;
    settings.proxyServer = project.proxyServer;
    settings.timeoutMs = project.timeout;
    settings.caFile = request.caFile;
    settings.trustedHostKey = request.trustedHostKey;
    return settings;
}

// "name: 42% (1234 of 2900 bytes)" on one terminal line, rewritten as the file goes.
CFtpUploadEngine::ProgressCallback TerminalProgress(const std::string& local) {
    if (!::isatty(STDERR_FILENO)) {
        return {};
    }
    return [local, shown = -1](uint64_t sent, uint64_t total) mutable {
        const int percent = total == 0 ? 100 : static_cast<int>(sent * 100 / total);
        if (percent != shown) {
            shown = percent;
            std::fprintf(stderr, "\r\x1b[K%s: %d%% (%llu of %llu bytes)", local.c_str(), percent,
                         static_cast<unsigned long long>(sent),
                         static_cast<unsigned long long>(total));
        }
    };
}

SFileOutcome UploadOne(CFtpUploadEngine& engine, const SFtpSettings& settings,
                       const std::string& folder, const std::string& local) {
    SFileOutcome outcome;
    outcome.local = local;
    outcome.remote = RemotePath::ForLocalFile(folder, local);
    const auto start = std::chrono::steady_clock::now();
    const CFtpUploadEngine::ProgressCallback progress = TerminalProgress(local);
    outcome.result = engine.Upload(settings, local, outcome.remote, progress);
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (progress) {
        std::fputs("\r\x1b[K", stderr);
    }
    return outcome;
}

void PrintLine(const SFileOutcome& outcome) {
    if (outcome.result.ok) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.2f", outcome.seconds);
        std::cout << "ok " << outcome.local << " -> " << outcome.remote << " ("
                  << outcome.result.bytes << " bytes, " << seconds << " s)\n";
    } else {
        std::cout << "FAILED " << outcome.local << ": " << outcome.result.Describe() << '\n';
    }
    std::cout.flush();
}

nlohmann::ordered_json ToJson(const SFileOutcome& outcome) {
    nlohmann::ordered_json item;
    item["local"] = AsUtf8(outcome.local);
    item["remote"] = AsUtf8(outcome.remote);
    item["ok"] = outcome.result.ok;
    item["bytes"] = outcome.result.bytes;
    item["seconds"] = outcome.seconds;
    item["error"] = outcome.result.ok ? nlohmann::ordered_json()
                                      : nlohmann::ordered_json(AsUtf8(outcome.result.Describe()));
    return item;
}

bool ReadProject(const std::string& path, SProject& project) {
    std::string text;
    std::string error;
    if (!ReadInput(path, text, error)) {
        std::cerr << "tarvonscp-cli: " << error << '\n';
        return false;
    }
    if (!ProjectFile::Load(text, project)) {
        std::cerr << "XML File '" << path << "' is not a TarvonSCP project!\n";
        return false;
    }
    return true;
}

// The password to log in with, or a complaint on standard error.
bool TakePassword(const SUploadRequest& request, const SProject& project, std::string& password) {
    if (request.passwordVariable.empty()) {
        password = project.password;
        return true;
    }
    const char* value = std::getenv(request.passwordVariable.c_str());
    if (value == nullptr) {
        std::cerr << "tarvonscp-cli: the environment variable " << request.passwordVariable
                  << " for the password is not set\n";
        return false;
    }
    password = value;
    return true;
}

bool CaFileReadable(const std::string& path) {
    if (path.empty() || std::ifstream(path).good()) {
        return true;
    }
    std::cerr << "tarvonscp-cli: cannot read the CA file '" << path << "'\n";
    return false;
}

} // namespace

int RunUpload(const SUploadRequest& request) {
    SProject project;
    std::string password;
    if (!ReadProject(request.projectPath, project) || !TakePassword(request, project, password) ||
        !CaFileReadable(request.caFile)) {
        return kExitRefused;
    }
    const SFtpSettings settings = SettingsOf(project, request, password);
    CFtpUploadEngine engine;
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    size_t failed = 0;
    const std::vector<std::string> files = SortedLikeTheList(project.files);
    for (const std::string& local : files) {
        const SFileOutcome outcome = UploadOne(engine, settings, project.serverFolder, local);
        failed += outcome.result.ok ? 0 : 1;
        if (request.json) {
            items.push_back(ToJson(outcome));
        } else {
            PrintLine(outcome);
        }
    }
    if (request.json) {
        std::cout << items.dump(2) << '\n';
    } else {
        std::cout << files.size() - failed << " of " << files.size() << " files uploaded, "
                  << failed << " failed\n";
    }
    return failed == 0 ? kExitDone : kExitRefused;
}
