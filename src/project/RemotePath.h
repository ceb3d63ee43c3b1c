#pragma once

#include <filesystem>
#include <string>

// The remote path of a listed local file, shared by the window's upload and the companion.
namespace RemotePath {

// Whether the runtime's path split takes '\' and a drive "C:" too, as it does on Windows.
constexpr bool kWindowsPaths = std::filesystem::path::preferred_separator == '\\';

// A local path's file name and extension, as the runtime's _splitpath gives them.
struct SNameParts {
    std::string name;
    std::string extension; // from the last dot of the file name on, with the dot; may be empty
};

// Splits off the folder (up to the last '/', also '\' and a drive with windowsPaths) and
// the extension.
SNameParts SplitFileName(const std::string& localPath, bool windowsPaths = kWindowsPaths);

// Target folder + file name + extension, joined with nothing in between: the folder must end
// in the server's separator for the file to land inside it.
std::string ForLocalFile(const std::string& targetFolder, const std::string& localPath,
                         bool windowsPaths = kWindowsPaths);

} // namespace RemotePath
