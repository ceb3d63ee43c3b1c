#include "project/UploadPath.h"

namespace {

#ifdef _WIN32
const char* const kFolderSeparators = "\\/";
constexpr bool kHasDrives = true;
#else
const char* const kFolderSeparators = "/";
constexpr bool kHasDrives = false;
#endif

// Where the file name starts: after the last separator, or after a leading drive "C:".
size_t NameStart(const std::string& path) {
    const size_t lastSeparator = path.find_last_of(kFolderSeparators);
    if (lastSeparator != std::string::npos)
        return lastSeparator + 1;
    return kHasDrives && path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

} // namespace

namespace UploadPath {

void SplitFileName(const std::string& localPath, std::string& fileName, std::string& extension) {
    const size_t nameStart = NameStart(localPath);
    const size_t lastDot = localPath.find_last_of('.');
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
