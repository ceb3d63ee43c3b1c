#pragma once

#include "service/ServiceControlManager.h"

// The Windows service control manager itself, through the Win32 calls.
class CWin32ServiceManager final : public CServiceControlManager {
public:
    // OpenSCManagerA on the active database.
    ServiceHandle OpenManager(const std::string& machineName, uint32_t desiredAccess) override;
    // OpenServiceA.
    ServiceHandle OpenServiceByName(ServiceHandle manager, const std::string& name,
                                    uint32_t desiredAccess) override;
    // StartServiceA without arguments.
    bool RequestStart(ServiceHandle service) override;
    // ControlService.
    bool ControlService(ServiceHandle service, uint32_t control, SServiceStatus& status) override;
    // QueryServiceStatus.
    bool QueryServiceStatus(ServiceHandle service, SServiceStatus& status) override;
    // CloseServiceHandle.
    void CloseServiceHandle(ServiceHandle handle) override;
    // GetTickCount.
    uint32_t TickCount() override;
    // Sleep.
    void Sleep(uint32_t milliseconds) override;
    // GetLastError.
    uint32_t LastErrorCode() override;
    // FormatMessageA from the system table in the user's default language.
    std::string SystemMessageText(uint32_t code) override;
};
