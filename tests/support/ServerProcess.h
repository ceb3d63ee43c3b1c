#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

// A test server started as a child process, stopped when the object goes.
class CServerProcess {
public:
    // Starts argv[0] (an absolute path) with its arguments and this process's environment
    // plus extraEnvironment ("NAME=value"); standard output comes through a pipe, standard
    // error goes to errorLogPath. Throws when it cannot start.
    CServerProcess(const std::vector<std::string>& argv, const std::string& errorLogPath,
                   const std::vector<std::string>& extraEnvironment = {});
    // Stops the server: SIGTERM, then SIGKILL when it lingers.
    ~CServerProcess();
    CServerProcess(const CServerProcess&) = delete;
    CServerProcess& operator=(const CServerProcess&) = delete;

    // The next line the server prints, without its line end. Throws when it exits first.
    std::string ReadLine();
    // Returns once 127.0.0.1:port takes connections; throws, with the server's complaint,
    // when the server exits or does not listen within half a minute.
    void WaitUntilListening(uint16_t port);

    // A port on 127.0.0.1 that was free a moment ago, for servers that cannot report theirs.
    static uint16_t FreePort();
    // Runs a helper command to its end; throws with its output when it fails.
    static void RunCommand(const std::vector<std::string>& argv);
    // Runs a helper command and returns what it printed; throws when it fails.
    static std::string CommandOutput(const std::vector<std::string>& argv);

private:
    [[noreturn]] void ThrowExited(const std::string& what);

    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_errorLogPath;
    std::string m_pending;
};
