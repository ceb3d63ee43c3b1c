#include "CliRun.h"

#include <cstdlib>

#include <sys/wait.h>

namespace {

// Single quotes keep every byte of an argument as it is for the shell.
std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string CommandLine(const std::vector<std::string>& args) {
    std::string line = ShellQuoted(TARVONSCP_CLI_PATH);
    for (const std::string& arg : args) {
        line += " " + ShellQuoted(arg);
    }
    return line;
}

int ExitStatus(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

} // namespace

SCliResult RunCli(const std::vector<std::string>& args, const std::string& input) {
    CTempFolder streams;
    WriteFileBytes(streams / "in", input);
    const std::string command = CommandLine(args) + " <" + ShellQuoted(streams / "in") + " >" +
                                ShellQuoted(streams / "out") + " 2>" + ShellQuoted(streams / "err");
    SCliResult result;
    result.status = ExitStatus(std::system(command.c_str()));
    result.out = ReadFileBytes(streams / "out");
    result.err = ReadFileBytes(streams / "err");
    return result;
}

int RunCliWithOutputTo(const std::vector<std::string>& args, const std::string& outputPath) {
    const std::string command =
        CommandLine(args) + " </dev/null >" + ShellQuoted(outputPath) + " 2>/dev/null";
    return ExitStatus(std::system(command.c_str()));
}
