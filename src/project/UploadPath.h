#pragma once

#include <string>

// Where an upload list entry goes on the server.
namespace UploadPath {

// The file name and the extension of a local path as the C runtime's path split gives them:
// the part after the last folder separator (on Windows also "\" and a drive's colon), the
// extension from its last dot on, with the dot; empty when the name has no dot.
void SplitFileName(const std::string& localPath, std::string& fileName, std::string& extension);

// The remote path of an entry: the target folder, the file name and the extension joined
// with nothing between them, so the folder must end in the server's separator.
std::string RemotePath(const std::string& targetFolder, const std::string& localPath);

} // namespace UploadPath
