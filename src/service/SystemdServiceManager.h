#pragma once

#include "service/ServiceControlManager.h"

struct sd_bus;

// systemd over its D-Bus API on the system bus, reported as the Windows service control
// manager would: the service NAME is the unit NAME.service, and states, wait hints, check
// points, exit codes and error codes are mapped as docs/service-control.md tells.
class CSystemdServiceManager final : public CServiceControlManager {
public:
    // Not connected until the first OpenManager.
    CSystemdServiceManager();
    // Closes the bus connection.
    ~CSystemdServiceManager() override;
    CSystemdServiceManager(const CSystemdServiceManager&) = delete;
    CSystemdServiceManager& operator=(const CSystemdServiceManager&) = delete;

    // Connects to the system bus (once; the connection is kept for later operations). Only
    // this computer has one: another machine name is refused.
    ServiceHandle OpenManager(const std::string& machineName, uint32_t desiredAccess) override;
    // Loads the unit name.service; refused with 1060 when systemd finds no such unit.
    ServiceHandle OpenServiceByName(ServiceHandle manager, const std::string& name,
                                    uint32_t desiredAccess) override;
    // Queues a start job; refused with 1056 while the unit is active or starting.
    bool RequestStart(ServiceHandle service) override;
    // Queues a stop job for control 1; refused with 1062 while the unit is not active.
    bool ControlService(ServiceHandle service, uint32_t control, SServiceStatus& status) override;
    // Reads the unit's state, job, timeouts and main process result.
    bool QueryServiceStatus(ServiceHandle service, SServiceStatus& status) override;
    // Forgets the handle.
    void CloseServiceHandle(ServiceHandle handle) override;
    // CLOCK_MONOTONIC in milliseconds, wrapping at 2^32.
    uint32_t TickCount() override;
    // Sleeps for real.
    void Sleep(uint32_t milliseconds) override;
    // The code of this manager's most recent failure.
    uint32_t LastErrorCode() override;
    // Windows' text for a mapped code; the D-Bus error's own message for the last failure.
    std::string SystemMessageText(uint32_t code) override;

private:
    struct SUnit;

    bool Connect();
    bool LoadUnit(const std::string& unitName, std::string& path);
    bool CallUnitMethod(const SUnit& unit, const char* method);
    bool ReadStatus(SUnit& unit, SServiceStatus& status);
    bool ReadString(const std::string& path, const char* interface, const char* property,
                    std::string& value);
    bool ReadJobType(const std::string& unitPath, std::string& jobType);
    bool ReadExitCodes(const SUnit& unit, SServiceStatus& status);
    bool ReadWaitHint(const SUnit& unit, uint32_t state, SServiceStatus& status);
    bool Fail(int result, const char* errorName = nullptr, const char* errorMessage = nullptr);
    bool Refuse(uint32_t code);

    sd_bus* m_bus = nullptr;
    uint32_t m_nLastErrorCode = 0;
    std::string m_strLastErrorMessage;
};
