#include "platform/SystemInfo.h"

#include <windows.h>

#include <lmcons.h>

namespace {

// The Windows folders, module path and user name, as the system reports them.
class CWindowsSystemInfo final : public CSystemInfo {
public:
    std::string WindowsDirectory() const override {
        char path[MAX_PATH] = {};
        const UINT length = GetWindowsDirectoryA(path, MAX_PATH);
        return length < MAX_PATH ? std::string(path, length) : std::string();
    }

    std::string SystemDirectory() const override {
        char path[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryA(path, MAX_PATH);
        return length < MAX_PATH ? std::string(path, length) : std::string();
    }

    std::string ProgramPath() const override {
        char path[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        return length < MAX_PATH ? std::string(path, length) : std::string();
    }

    std::string ProgramFolder() const override {
        const std::string path = ProgramPath();
        return path.substr(0, path.find_last_of(kPathSeparator) + 1);
    }

    std::string LoginName() const override {
        char name[UNLEN + 1] = {};
        DWORD size = UNLEN + 1;
        return GetUserNameA(name, &size) ? std::string(name) : std::string();
    }
};

} // namespace

std::unique_ptr<CSystemInfo> CreateSystemInfo() {
    return std::make_unique<CWindowsSystemInfo>();
}
