#include "project/UploadPath.h"

#include <string_view>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32
constexpr std::string_view kFolderSeparators = "\\/";
constexpr bool kHasDrives = true;
// A path in a double-byte ANSI code page may hold "\\" as the second byte of a character.
bool IsLeadByte(char byte) {
    return IsDBCSLeadByte(static_cast<BYTE>(byte)) != FALSE;
}
#else
constexpr std::string_view kFolderSeparators = "/";
constexpr bool kHasDrives = false;
constexpr bool IsLeadByte(char) {
    return false;
}
#endif

// Where the file name starts (after the last separator, or after a leading drive "C:") and
// where its last dot stands. The path is read character by character, as the runtime's path
// split reads it.
struct SNameBounds {
    size_t start;
    size_t lastDot; // npos: the name has no dot
};

SNameBounds FindNameBounds(const std::string& path) {
    SNameBounds bounds{kHasDrives && path.size() >= 2 && path[1] == ':' ? 2u : 0u,
                       std::string::npos};
    for (size_t at = 0; at < path.size(); at += IsLeadByte(path[at]) ? 2 : 1) {
        if (kFolderSeparators.find(path[at]) != std::string_view::npos)
            bounds = {at + 1, std::string::npos};
        else if (path[at] == '.')
            bounds.lastDot = at;
    }
    return bounds;
}

} // namespace

namespace UploadPath {

void SplitFileName(const std::string& localPath, std::string& fileName, std::string& extension) {
    const SNameBounds bounds = FindNameBounds(localPath);
    const size_t nameStart = bounds.start;
    const size_t lastDot = bounds.lastDot;
    const bool hasExtension = lastDot != std::string::npos && lastDot >= nameStart;
    const size_t nameEnd = hasExtension ? lastDot : localPath.size();
    fileName = localPath.substr(nameStart, nameEnd - nameStart);
    extension = hasExtension ? localPath.substr(lastDot) : std::string();
}

std::string RemotePath(const std::string& targetFolder, const std::string& localPath) {
    std::string fileName;
    std::string extension;
    SplitFileName(localPath, fileName, extension);
    return targetFolder + fileName + extension;
}

} // namespace UploadPath
