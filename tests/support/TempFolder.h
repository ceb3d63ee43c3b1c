#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A fresh folder that is removed with everything in it when the object goes.
class CTempFolder {
public:
    // Makes the folder under the system's temporary folder; throws when it cannot.
    CTempFolder();
    // Removes it with everything in it.
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

// The names of the entries in a folder, sorted; empty when it does not exist.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder);

// The whole content of a file.
std::string ReadFileBytes(const std::string& path);

// Writes bytes to a file, replacing it.
void WriteFileBytes(const std::string& path, const std::string& bytes);

// size bytes that differ from file to file (by seed) and from position to position.
std::string PatternBytes(size_t size, unsigned seed);
