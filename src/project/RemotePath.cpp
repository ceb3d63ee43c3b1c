#include "project/RemotePath.h"

namespace RemotePath {

SNameParts SplitFileName(const std::string& localPath, bool windowsPaths) {
    size_t nameStart = 0;
    if (windowsPaths && localPath.size() >= 2 && localPath[1] == ':') {
        nameStart = 2;
    }
    const size_t separator = localPath.find_last_of(windowsPaths ? "\\/" : "/");
    if (separator != std::string::npos && separator >= nameStart) {
        nameStart = separator + 1;
    }
    const std::string fileName = localPath.substr(nameStart);
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) {
        return {fileName, ""};
    }
    return {fileName.substr(0, dot), fileName.substr(dot)};
}

std::string ForLocalFile(const std::string& targetFolder, const std::string& localPath,
                         bool windowsPaths) {
    const SNameParts parts = SplitFileName(localPath, windowsPaths);
    return targetFolder + parts.name + parts.extension;
}

} // namespace RemotePath
