#pragma once

class CProfile;
class CSystemInfo;
class CShell;
class CUpdateLibrary;
class CTransferLibrary;
class CPrompts;
class CServiceControlManager;

// What the main window uses of the world outside it; the application owns each of them.
struct SWindowServices {
    CProfile& profile;
    const CSystemInfo& system;
    CShell& shell;
    CUpdateLibrary& updateLibrary;
    CTransferLibrary& transferLibrary;
    CPrompts& prompts;
    CServiceControlManager& serviceManager;
};
