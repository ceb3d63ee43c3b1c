#pragma once

#include <memory>
#include <string>

// The separator the platform joins folder and file names with.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// Facts about the system and this process that the window shows or builds paths from.
class CSystemInfo {
public:
    virtual ~CSystemInfo() = default;
    // The Windows directory (on Linux: /etc), without a trailing separator.
    virtual std::string WindowsDirectory() const = 0;
    // The system directory (on Linux: /var/log), without a trailing separator.
    virtual std::string SystemDirectory() const = 0;
    // The full path of the running executable.
    virtual std::string ProgramPath() const = 0;
    // The folder of the running executable, ending in the separator.
    virtual std::string ProgramFolder() const = 0;
    // The login name of the current user.
    virtual std::string LoginName() const = 0;
};

// The implementation for the platform this program was built for.
std::unique_ptr<CSystemInfo> CreateSystemInfo();
