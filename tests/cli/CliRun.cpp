#include "CliRun.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include <sys/wait.h>

namespace fs = std::filesystem;

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

CTempFolder::CTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "tarvonscp-cli-test.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_path = pattern;
}

CTempFolder::~CTempFolder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::vector<std::string> CTempFolder::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

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

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}
