#include "project/RemotePath.h"

#include <string_view>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// A path in a double-byte ANSI code page may hold "\" as the second byte of a character.
#ifdef _WIN32
bool IsLeadByte(char byte) {
    return IsDBCSLeadByte(static_cast<BYTE>(byte)) != FALSE;
}
#else
constexpr bool IsLeadByte(char) {
    return false;
}
#endif

} // namespace

namespace RemotePath {

SNameParts SplitFileName(const std::string& localPath, bool windowsPaths) {
    const std::string_view separators = windowsPaths ? "\\/" : "/";
    size_t nameStart = windowsPaths && localPath.size() >= 2 && localPath[1] == ':' ? 2 : 0;
    size_t lastDot = std::string::npos;
    // Character by character, as the runtime's path split reads a path.
    for (size_t at = 0; at < localPath.size(); at += IsLeadByte(localPath[at]) ? 2 : 1) {
        if (separators.find(localPath[at]) != std::string_view::npos) {
            nameStart = at + 1;
            lastDot = std::string::npos;
        } else if (localPath[at] == '.') {
            lastDot = at;
        }
    }
    if (lastDot == std::string::npos || lastDot < nameStart)
        return {localPath.substr(nameStart), ""};
    return {localPath.substr(nameStart, lastDot - nameStart), localPath.substr(lastDot)};
}

std::string ForLocalFile(const std::string& targetFolder, const std::string& localPath,
                         bool windowsPaths) {
    const SNameParts parts = SplitFileName(localPath, windowsPaths);
    return targetFolder + parts.name + parts.extension;
}

} // namespace RemotePath
