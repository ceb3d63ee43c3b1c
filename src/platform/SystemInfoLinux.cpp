#include "platform/SystemInfo.h"

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <vector>

namespace {

// Linux stand-ins for the Windows folders, the running executable and the effective user.
class CLinuxSystemInfo final : public CSystemInfo {
public:
    std::string WindowsDirectory() const override { return "/etc"; }
    std::string SystemDirectory() const override { return "/var/log"; }

    std::string ProgramPath() const override {
        char path[PATH_MAX];
        const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
        if (length <= 0 || static_cast<size_t>(length) >= sizeof path)
            return std::string();
        return std::string(path, static_cast<size_t>(length));
    }

    std::string ProgramFolder() const override {
        const std::string path = ProgramPath();
        return path.substr(0, path.find_last_of(kPathSeparator) + 1);
    }

    std::string LoginName() const override {
        const uid_t user = geteuid();
        long bufferSize = sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> buffer(bufferSize > 0 ? static_cast<size_t>(bufferSize) : 16384);
        passwd entry{};
        passwd* found = nullptr;
        if (getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
            return found->pw_name;
        // A user without a passwd entry (e.g. in a container) still has a number.
        return std::to_string(user);
    }
};

} // namespace

std::unique_ptr<CSystemInfo> CreateSystemInfo() {
    return std::make_unique<CLinuxSystemInfo>();
}
