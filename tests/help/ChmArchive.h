#pragma once

#include <optional>
#include <string>
#include <vector>

struct chmFile;

// A compiled help file opened for reading, through libchm.
class CChmArchive {
public:
    explicit CChmArchive(const std::string& path);
    ~CChmArchive();
    CChmArchive(const CChmArchive&) = delete;
    CChmArchive& operator=(const CChmArchive&) = delete;

    // True when the file could be opened as a help file.
    bool IsOpen() const { return m_file != nullptr; }
    // The paths of the files the archive holds, without the leading '/', folders left out.
    std::vector<std::string> FilePaths() const;
    // The content of the file at path (without the leading '/'), or nothing when it holds none.
    std::optional<std::string> Read(const std::string& path) const;

private:
    chmFile* m_file = nullptr;
};
