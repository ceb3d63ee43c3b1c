#pragma once

#include "platform/FtpLibrary.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/UpdateLibrary.h"
#include "service/ServiceControlManager.h"
#include "ui/Prompts.h"

#include <functional>
#include <memory>
#include <string>

class CProfile;
struct SWindowServices;

// What the application object works with; the program passes the real parts, tests fakes.
struct SAppParts {
    std::unique_ptr<CSystemInfo> system;
    std::unique_ptr<CShell> shell;
    std::unique_ptr<CUpdateLibrary> updateLibrary;
    std::unique_ptr<CPrompts> prompts;
    std::unique_ptr<CServiceControlManager> serviceManager;
    // Constructs the main window, runs it modally and destroys it.
    std::function<void(const SWindowServices&)> runMainWindow;
};

// The application object: prepares the process, runs the main window once, cleans up.
class CProjectManagerApp final {
public:
    // The company key of the profile.
    static const char* const kCompanyKey;
    // The start-up update check's address on the product's update server.
    static std::string UpdateCheckUrl();
    // The warning shown when the FTP library cannot be loaded.
    static const char* const kFtpMissingText;

    // Takes the parts it works with; nothing starts before InitInstance.
    explicit CProjectManagerApp(SAppParts parts);
    // Drops the profile, so that its last writes reach the disk.
    ~CProjectManagerApp();
    CProjectManagerApp(const CProjectManagerApp&) = delete;
    CProjectManagerApp& operator=(const CProjectManagerApp&) = delete;

    // Profile root, FTP library, start-up update check, then the main window's modal run.
    // Returns false: the program has no message loop of its own after the window.
    bool InitInstance();
    // Releases the FTP library if it was loaded; returns the process exit code.
    int ExitInstance();
    // True while the FTP library is held.
    bool IsFtpLibraryLoaded() const { return m_ftpLibrary.IsLoaded(); }

private:
    void LoadFtpLibrary();

    SAppParts m_parts;
    std::unique_ptr<CProfile> m_profile;
    CFtpLibrary m_ftpLibrary;
};
