#pragma once

#include <string>

// Replacing a file so that it is either wholly the old or wholly the new content.
namespace AtomicFile {

// Writes content to a temporary file in path's folder, flushes it to the disk and renames it
// over path. An existing file that the user may not write is refused, as writing in place
// would be. On POSIX systems a link at path is followed and stays, and an existing file
// keeps its permissions and, as far as the user may give them, its owner and group; on
// Windows the new file takes its folder's default permissions.
// On POSIX systems the file is written in place (emptied, then written and flushed) where
// the folder refuses a temporary, and where other hard links share the file, so that they
// keep seeing it; such a write is not atomic.
// False with a message naming path, the failed step and the system's error text in error;
// path is then as it was, unless it was being written in place, and no temporary is left.
bool Replace(const std::string& path, const std::string& content, std::string& error);

} // namespace AtomicFile
