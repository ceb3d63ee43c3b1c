#include "ServerProcess.h"

#include "TempFolder.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

const char* const kSetpriv = "/usr/bin/setpriv";

sockaddr_in Loopback(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool Accepts(uint16_t port) {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = Loopback(port);
    const bool connected =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return connected;
}

std::vector<char*> NullEndedPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    for (const std::string& argument : argv) {
        pointers.push_back(const_cast<char*>(argument.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

std::string Joined(const std::vector<std::string>& argv) {
    std::string line;
    for (const std::string& argument : argv) {
        line += (line.empty() ? "" : " ") + argument;
    }
    return line;
}

} // namespace

CServerProcess::CServerProcess(const std::vector<std::string>& argv,
                               const std::string& errorLogPath,
                               const std::vector<std::string>& extraEnvironment)
    : m_errorLogPath(errorLogPath) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot make a pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorLogPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // setpriv has the kernel stop the server when the test dies, even if it crashes.
    std::vector<std::string> command = {kSetpriv, "--pdeathsig", "TERM", "--"};
    command.insert(command.end(), argv.begin(), argv.end());
    std::vector<char*> arguments = NullEndedPointers(command);
    // The extra variables first: of two with one name, programs see the first.
    std::vector<std::string> environment = extraEnvironment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        environment.push_back(*entry);
    }
    std::vector<char*> variables = NullEndedPointers(environment);
    const int failure =
        ::posix_spawn(&m_pid, arguments[0], &actions, nullptr, arguments.data(), variables.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    m_output = pipe[0];
    if (failure != 0) {
        ::close(m_output);
        throw std::runtime_error("cannot start " + argv[0] + " through " + kSetpriv);
    }
}

CServerProcess::~CServerProcess() {
    ::close(m_output);
    if (m_pid <= 0) {
        return; // already reaped; never signal -1, which means every process
    }
    ::kill(m_pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100 && ::waitpid(m_pid, &status, WNOHANG) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (::waitpid(m_pid, &status, WNOHANG) == 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, &status, 0);
    }
}

std::string CServerProcess::ReadLine() {
    for (;;) {
        const size_t end = m_pending.find('\n');
        if (end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return line;
        }
        char buffer[256];
        const ssize_t got = ::read(m_output, buffer, sizeof buffer);
        if (got <= 0) {
            ThrowExited("exited before it said it listens");
        }
        m_pending.append(buffer, static_cast<size_t>(got));
    }
}

void CServerProcess::WaitUntilListening(uint16_t port) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!Accepts(port)) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            ThrowExited("exited before it listened");
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ThrowExited("does not listen on port " + std::to_string(port));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void CServerProcess::ThrowExited(const std::string& what) {
    throw std::runtime_error("the test server " + what + ": " + ReadFileBytes(m_errorLogPath));
}

uint16_t CServerProcess::FreePort() {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(listener);
        throw std::runtime_error("no free port on 127.0.0.1");
    }
    ::close(listener);
    return ntohs(address.sin_port);
}

void CServerProcess::RunCommand(const std::vector<std::string>& argv) {
    CommandOutput(argv);
}

std::string CServerProcess::CommandOutput(const std::vector<std::string>& argv) {
    CTempFolder folder;
    std::string output;
    {
        CServerProcess command(argv, folder / "err");
        char buffer[4096];
        ssize_t got = 0;
        while ((got = ::read(command.m_output, buffer, sizeof buffer)) > 0) {
            output.append(buffer, static_cast<size_t>(got));
        }
        int status = 0;
        ::waitpid(command.m_pid, &status, 0);
        command.m_pid = -1;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            throw std::runtime_error("'" + Joined(argv) + "' failed: " + output +
                                     ReadFileBytes(folder / "err"));
        }
    }
    return output;
}
