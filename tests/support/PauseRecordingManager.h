#pragma once

#include "service/ServiceControlManager.h"

#include <memory>
#include <string>
#include <vector>

// This platform's real service control manager, with a record of every pause the controller
// makes (it still sleeps for real).
class CPauseRecordingManager final : public CServiceControlManager {
public:
    // Wraps the backend CreateServiceControlManager chooses.
    CPauseRecordingManager();

    ServiceHandle OpenManager(const std::string& machineName, uint32_t desiredAccess) override;
    ServiceHandle OpenServiceByName(ServiceHandle manager, const std::string& name,
                                    uint32_t desiredAccess) override;
    bool RequestStart(ServiceHandle service) override;
    bool ControlService(ServiceHandle service, uint32_t control, SServiceStatus& status) override;
    bool QueryServiceStatus(ServiceHandle service, SServiceStatus& status) override;
    void CloseServiceHandle(ServiceHandle handle) override;
    uint32_t TickCount() override;
    void Sleep(uint32_t milliseconds) override;
    uint32_t LastErrorCode() override;
    std::string SystemMessageText(uint32_t code) override;

    // The pauses, in milliseconds, in the order they were made.
    const std::vector<uint32_t>& Pauses() const { return m_pauses; }

    // A status callback that appends each message to the std::vector<std::string> userData.
    static void RecordMessage(const char* message, void* userData);

private:
    std::unique_ptr<CServiceControlManager> m_real;
    std::vector<uint32_t> m_pauses;
};
