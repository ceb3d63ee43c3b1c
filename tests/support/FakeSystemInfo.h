#pragma once

#include "platform/SystemInfo.h"

// System facts set by the test.
class CFakeSystemInfo final : public CSystemInfo {
public:
    std::string WindowsDirectory() const override { return windowsDirectory; }
    std::string SystemDirectory() const override { return systemDirectory; }
    std::string ProgramPath() const override { return programFolder + "TarvonSCP"; }
    std::string ProgramFolder() const override { return programFolder; }
    std::string LoginName() const override { return loginName; }

    std::string windowsDirectory = "/etc";
    std::string systemDirectory = "/var/log";
    std::string programFolder = "/opt/brevane/";
    std::string loginName = "tester";
};
