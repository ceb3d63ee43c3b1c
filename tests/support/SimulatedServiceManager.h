#pragma once

#include "service/ServiceControlManager.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// A service control manager of scripted services on a virtual clock, so that no test of a wait
// sleeps for real. Without a script a start runs at once and a stop stops at once; requests the
// Windows manager would refuse (start of a started service, stop of a stopped one) are refused
// with its codes.
class CSimulatedServiceManager final : public CServiceControlManager {
public:
    // Installs the service name in state, with every other status field 0.
    void Install(const std::string& name, uint32_t state);
    // Removes the service name, as if it had never been installed.
    void Uninstall(const std::string& name) { m_services.erase(name); }
    // Sets the state of the service name from outside, as another program would.
    void SetState(const std::string& name, uint32_t state);
    // The statuses that the queries after each start request report, one per query; the last one
    // stays.
    void ScriptStart(const std::string& name, std::vector<SServiceStatus> statuses);
    // The same for stop requests.
    void ScriptStop(const std::string& name, std::vector<SServiceStatus> statuses);
    // Refuses every later start or stop request of name with code.
    void RefuseRequests(const std::string& name, uint32_t code);
    // After successes more successful queries of name, every query fails with code.
    void FailQueriesAfter(const std::string& name, uint32_t successes, uint32_t code);
    // The manager itself cannot be opened: it fails with code.
    void FailManager(uint32_t code);
    // Sets the virtual tick counter.
    void SetTickCount(uint32_t tick) { m_nTick = tick; }
    // Calls observer with each pause, once the virtual clock has advanced by it.
    void OnSleep(std::function<void(uint32_t)> observer) { m_onSleep = std::move(observer); }

    // The state the service name is in now.
    uint32_t State(const std::string& name) const;
    // Every pause so far, in milliseconds.
    const std::vector<uint32_t>& Pauses() const { return m_pauses; }
    // Handles opened and not closed yet.
    size_t OpenHandles() const { return m_handles.size(); }
    // Closes of handles that were not open.
    int BadCloses() const { return m_nBadCloses; }

    // A manager handle, or the failure FailManager set.
    ServiceHandle OpenManager(const std::string& machineName, uint32_t desiredAccess) override;
    // A handle of an installed service; 1060 for any other name.
    ServiceHandle OpenServiceByName(ServiceHandle manager, const std::string& name,
                                    uint32_t desiredAccess) override;
    // Accepted when the service is stopped (1056 otherwise); its start script begins.
    bool RequestStart(ServiceHandle service) override;
    // Stop accepted when the service is not stopped (1062 otherwise); its stop script begins.
    bool ControlService(ServiceHandle service, uint32_t control, SServiceStatus& status) override;
    // The next status of the script running, or the status reached.
    bool QueryServiceStatus(ServiceHandle service, SServiceStatus& status) override;
    // Closes a handle; counts closes of handles not open.
    void CloseServiceHandle(ServiceHandle handle) override;
    // The virtual clock.
    uint32_t TickCount() override { return m_nTick; }
    // Advances the virtual clock, records the pause and tells the observer.
    void Sleep(uint32_t milliseconds) override;
    // The code of the latest failure.
    uint32_t LastErrorCode() override { return m_nLastErrorCode; }
    // Windows' text for the code.
    std::string SystemMessageText(uint32_t code) override;

private:
    struct SService {
        SServiceStatus status;
        std::vector<SServiceStatus> startScript;
        std::vector<SServiceStatus> stopScript;
        std::deque<SServiceStatus> coming;
        uint32_t refusal = 0;
        bool queriesFail = false;
        uint32_t queriesLeft = 0;
        uint32_t queryFailure = 0;
    };

    SService* ServiceOf(ServiceHandle handle);
    ServiceHandle NewHandle(const std::string& name);
    bool Request(SService& service, const std::vector<SServiceStatus>& script,
                 uint32_t unscriptedOutcome);
    bool Fail(uint32_t code);

    std::map<std::string, SService> m_services;
    std::map<ServiceHandle, std::string> m_handles;
    uintptr_t m_nNextHandle = 1;
    uint32_t m_nManagerFailure = 0;
    uint32_t m_nTick = 0;
    uint32_t m_nLastErrorCode = 0;
    int m_nBadCloses = 0;
    std::vector<uint32_t> m_pauses;
    std::function<void(uint32_t)> m_onSleep;
};

// A status record with state, check point and wait hint, every other field 0.
SServiceStatus StatusOf(uint32_t state, uint32_t checkPoint = 0, uint32_t waitHint = 0);
