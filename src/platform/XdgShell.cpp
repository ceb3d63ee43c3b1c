#include "platform/XdgShell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kOpenerFileMissing = 2; // xdg-open's exit status for a missing file

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// "scheme://..." is a location for the opener, not a file of ours to check.
bool IsUrl(const std::string& file) {
    const size_t colon = file.find("://");
    if (colon == std::string::npos || colon == 0)
        return false;
    for (size_t i = 0; i < colon; ++i)
        if (!std::isalpha(static_cast<unsigned char>(file[i])))
            return false;
    return true;
}

// A relative file is taken relative to the request's folder, as the Windows shell does.
std::string InFolder(const std::string& folder, const std::string& file) {
    if (file.empty() || file[0] == '/' || folder.empty())
        return file;
    return folder.back() == '/' ? folder + file : folder + '/' + file;
}

// The full path of program, searched on PATH unless it names a path itself.
std::string FindProgram(const std::string& program) {
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), X_OK) == 0 ? program : std::string();
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = InFolder(folders.substr(start, end - start), program);
        if (end > start && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return std::string();
}

long MillisecondsSince(const timespec& start) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
}

intptr_t ResultOfExit(int status) {
    if (!WIFEXITED(status))
        return kShellNoAssociation;
    if (WEXITSTATUS(status) == 0)
        return kShellDone;
    return WEXITSTATUS(status) == kOpenerFileMissing ? kShellFileNotFound : kShellNoAssociation;
}

// In the forked child: runs the opener as a grandchild and waits for it at most graceMs.
// Only async-signal-safe calls from here on, since the parent may have other threads.
[[noreturn]] void SuperviseOpener(const char* program, char* const argv[], int graceMs,
                                  int resultPipe) {
    setsid();
    intptr_t result = kShellNoAssociation;
    const pid_t opener = fork();
    if (opener == 0) {
        const int nullDevice = open("/dev/null", O_RDWR);
        dup2(nullDevice, STDIN_FILENO);
        dup2(nullDevice, STDOUT_FILENO);
        dup2(nullDevice, STDERR_FILENO); // detached: it must not hold the caller's terminal
        execv(program, argv);
        _exit(127);
    }
    if (opener > 0) {
        timespec start{};
        clock_gettime(CLOCK_MONOTONIC, &start);
        const timespec pause{0, 10 * 1000 * 1000};
        int status = 0;
        pid_t finished = 0;
        while ((finished = waitpid(opener, &status, WNOHANG)) == 0 &&
               MillisecondsSince(start) < graceMs)
            nanosleep(&pause, nullptr);
        result = finished == opener ? ResultOfExit(status) : kShellDone;
    }
    (void)!write(resultPipe, &result, sizeof result);
    _exit(0);
}

} // namespace

CXdgShell::CXdgShell(std::string opener, int graceMs)
    : m_opener(std::move(opener)), m_graceMs(graceMs) {
}

intptr_t CXdgShell::Execute(const ShellRequest& request) {
    if (request.verb != "open" && request.verb != "explore" && !request.verb.empty())
        return kShellNoAssociation;
    const std::string target = Target(request);
    return target.empty() ? kShellFileNotFound : RunOpener(target);
}

std::string CXdgShell::Target(const ShellRequest& request) const {
    if (request.verb == "explore") {
        const std::string folder =
            request.file.empty() ? request.directory : InFolder(request.directory, request.file);
        return IsFolder(folder) ? folder : std::string();
    }
    if (IsUrl(request.file))
        return request.file;
    const std::string file = InFolder(request.directory, request.file);
    return !file.empty() && Exists(file) ? file : std::string();
}

intptr_t CXdgShell::RunOpener(const std::string& target) const {
    // Everything the child needs is prepared here, before the fork.
    const std::string program = FindProgram(m_opener);
    if (program.empty())
        return kShellNoAssociation;
    std::string programArg = m_opener;
    std::string targetArg = target;
    char* const argv[] = {programArg.data(), targetArg.data(), nullptr};

    int resultPipe[2];
    if (pipe2(resultPipe, O_CLOEXEC) != 0)
        return kShellNoAssociation;
    const pid_t supervisor = fork();
    if (supervisor == 0)
        SuperviseOpener(program.c_str(), argv, m_graceMs, resultPipe[1]);
    close(resultPipe[1]);
    intptr_t result = kShellNoAssociation;
    if (supervisor < 0 || read(resultPipe[0], &result, sizeof result) != sizeof result)
        result = kShellNoAssociation;
    close(resultPipe[0]);
    if (supervisor > 0)
        waitpid(supervisor, nullptr, 0);
    return result;
}

std::unique_ptr<CShell> CreateShell() {
    return std::make_unique<CXdgShell>();
}
