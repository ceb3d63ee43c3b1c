#pragma once

#include "service/ServiceControlManager.h"
#include "service/ServiceStatus.h"

#include <cstdint>
#include <string>

// Receives a progress message of a start or stop, and the user data given with it.
using ServiceStatusCallback = void (*)(const char* message, void* userData);

// Starts, stops and queries one service through the service control manager, waiting for a
// start or stop to finish. Holds no handle between operations; failures leave a formatted text
// in LastErrorText.
class CServiceController {
public:
    // The full access right of the service control manager, asked of manager and service.
    static constexpr uint32_t kFullAccess = 0xF003F;

    // A controller working through manager, which must outlive it; progress goes nowhere.
    explicit CServiceController(CServiceControlManager& manager);
    // Nothing to release beyond the controller's own texts.
    virtual ~CServiceController();
    CServiceController(const CServiceController&) = delete;
    CServiceController& operator=(const CServiceController&) = delete;

    // Replaces the progress callback and the user data handed back with every message.
    void SetStatusCallback(ServiceStatusCallback callback, void* userData);
    // Starts the service and waits while it is start pending; 1 once the wait ended (running or
    // not), 0 when it could not be opened, the request was refused or its status was unreadable.
    int Start(const std::string& serviceName);
    // Stops the service and waits while it is stop pending; results as Start.
    int Stop(const std::string& serviceName);
    // The service's current state (1 to 7), or 0 when it could not be opened or queried.
    uint32_t QueryState(const std::string& serviceName);
    // The formatted text of the most recent failure; empty before the first.
    const std::string& LastErrorText() const { return m_strLastErrorText; }

private:
    struct SOperation;
    class CHandles;

    int RequestAndWait(const std::string& serviceName, const SOperation& operation);
    bool Request(ServiceHandle service, const SOperation& operation);
    bool QueryStatus(ServiceHandle service);
    void WaitWhile(ServiceHandle service, uint32_t pendingState);
    void ReportOutcome(const SOperation& operation);
    void Notify(const char* message);
    std::string FormatError(const std::string& prefix);

    CServiceControlManager& m_manager;
    void* m_pUserData = nullptr;
    ServiceStatusCallback m_pCallback;
    SServiceStatus m_lastStatus;
    std::string m_strMachineName;
    uint32_t m_nAccessMask = kFullAccess;
    uint32_t m_nLastErrorCode = 0;
    std::string m_strLastErrorText;
};
