#pragma once

#include <filesystem>
#include <string>
#include <vector>

// What one run of the built tarvonscp-cli gave.
struct SCliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// A fresh folder that is removed with everything in it when the object goes.
class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // The folder itself.
    const std::filesystem::path& Path() const { return m_path; }
    // A path inside the folder.
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    // The names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path m_path;
};

// Runs the companion with args, feeding input on standard input.
SCliResult RunCli(const std::vector<std::string>& args, const std::string& input = "");

// Runs the companion with args and its standard output sent to outputPath; the exit status.
int RunCliWithOutputTo(const std::vector<std::string>& args, const std::string& outputPath);

// The whole content of a file.
std::string ReadFileBytes(const std::string& path);

// Writes bytes to a file, replacing it.
void WriteFileBytes(const std::string& path, const std::string& bytes);
