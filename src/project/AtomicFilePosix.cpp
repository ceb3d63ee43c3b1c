#include "project/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string SystemError(const std::string& action, const std::string& what, int code) {
    return "cannot " + action + " '" + what + "': " + std::strerror(code);
}

// The mode a new file gets from the process's umask.
mode_t ModeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// What the replacement takes over from the file it replaces.
struct SFileAttributes {
    mode_t mode;
    bool existed;
    uid_t owner;
    gid_t group;
};

// An existing file keeps its permissions and owners; a new one gets what creating it would
// have given.
SFileAttributes AttributesFor(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode))
        return {static_cast<mode_t>(status.st_mode & 07777), true, status.st_uid, status.st_gid};
    return {ModeForNewFile(), false, 0, 0};
}

// Gives the temporary the replaced file's owner and group as far as the user may: root
// may give both, an owner only a group of their own, and otherwise the user's own stay.
void TakeOverOwners(int descriptor, const SFileAttributes& attributes) {
    if (attributes.existed && ::fchown(descriptor, attributes.owner, attributes.group) != 0)
        (void)::fchown(descriptor, static_cast<uid_t>(-1), attributes.group);
}

// Writes everything; errno tells why when it fails.
bool WriteAll(int descriptor, const std::string& content) {
    size_t written = 0;
    while (written < content.size()) {
        const ssize_t count =
            ::write(descriptor, content.data() + written, content.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            errno = count == 0 ? EIO : errno;
            return false;
        }
        written += static_cast<size_t>(count);
    }
    return true;
}

// Writes, flushes to the disk and closes the temporary; 0 or the error code.
int FillTemporary(int descriptor, const std::string& content, const SFileAttributes& attributes) {
    TakeOverOwners(descriptor, attributes);
    const bool filled = WriteAll(descriptor, content) &&
                        ::fchmod(descriptor, attributes.mode) == 0 && ::fsync(descriptor) == 0;
    const int fillError = filled ? 0 : errno;
    const int closeError = ::close(descriptor) == 0 ? 0 : errno;
    return fillError != 0 ? fillError : closeError;
}

// Writes content over the file itself, emptied first, as an editor does that writes in
// place; a failure part-way leaves the file short, so every error is reported.
bool WriteInPlace(const fs::path& target, const std::string& path, const std::string& content,
                  std::string& error) {
    const int descriptor = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        error = SystemError("write", path, errno);
        return false;
    }
    const bool written = WriteAll(descriptor, content) && ::fsync(descriptor) == 0;
    const int writeError = written ? 0 : errno;
    const int closeError = ::close(descriptor) == 0 ? 0 : errno;
    if (writeError != 0 || closeError != 0) {
        error = SystemError("write", path, writeError != 0 ? writeError : closeError);
        return false;
    }
    return true;
}

// True for a file that other names link to: replacing it would part those names from it.
bool HasOtherLinks(const fs::path& target) {
    struct stat status {};
    return ::stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_nlink > 1;
}

// A hidden name beside the target that tells whose it is, short enough for any target name
// to leave room for the dot and the random suffix.
std::string TemporaryName(const fs::path& target) {
    constexpr size_t kNameBytesKept = 64;
    return "." + target.filename().string().substr(0, kNameBytesKept) + ".XXXXXX";
}

} // namespace

namespace AtomicFile {

bool Replace(const std::string& path, const std::string& content, std::string& error) {
    std::error_code code;
    const fs::path target =
        fs::is_symlink(path, code) ? fs::weakly_canonical(path, code) : fs::path(path);
    // Writing in place would fail on a file the user may not write; replacing it must too.
    if (::faccessat(AT_FDCWD, target.c_str(), F_OK, AT_EACCESS) == 0 &&
        ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        error = SystemError("write", path, errno);
        return false;
    }
    if (HasOtherLinks(target))
        return WriteInPlace(target, path, content, error);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temporary = (folder / TemporaryName(target)).string();

    const int descriptor = ::mkstemp(temporary.data());
    // A folder that refuses a temporary may still let the file itself be written; where it
    // does not, the reason given is the chosen file's own.
    if (descriptor < 0)
        return WriteInPlace(target, path, content, error);
    if (const int failure = FillTemporary(descriptor, content, AttributesFor(target.string()))) {
        // The user asked for path; the temporary's name would only puzzle them.
        error = SystemError("write", path, failure);
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = SystemError("replace", path, errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace AtomicFile
