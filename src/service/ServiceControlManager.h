#pragma once

#include "service/ServiceStatus.h"

#include <cstdint>
#include <memory>
#include <string>

// A manager or service handle; null stands for "no handle".
using ServiceHandle = void*;

// The platform operations a service controller works through, as the Windows service control
// manager offers them (named apart from the Win32 macros OpenService and StartService). A failed
// call returns null or false and leaves its code for LastErrorCode; successful calls leave that
// code as it was, except that a successful OpenManager may clear it to 0 (the system's
// OpenSCManagerA does, under Wine at least).
class CServiceControlManager {
public:
    // Releases whatever the backend holds between operations.
    virtual ~CServiceControlManager() = default;

    // Connects to the manager of machineName (empty: this computer) with desiredAccess.
    virtual ServiceHandle OpenManager(const std::string& machineName, uint32_t desiredAccess) = 0;
    // Opens the service called name through manager with desiredAccess.
    virtual ServiceHandle OpenServiceByName(ServiceHandle manager, const std::string& name,
                                            uint32_t desiredAccess) = 0;
    // Asks the manager to start service, without arguments.
    virtual bool RequestStart(ServiceHandle service) = 0;
    // Sends control (1: stop) to service and fills status from the answer.
    virtual bool ControlService(ServiceHandle service, uint32_t control,
                                SServiceStatus& status) = 0;
    // Fills status with service's current status; leaves it as it was on failure.
    virtual bool QueryServiceStatus(ServiceHandle service, SServiceStatus& status) = 0;
    // Releases a manager or service handle.
    virtual void CloseServiceHandle(ServiceHandle handle) = 0;
    // Milliseconds since the system started, wrapping at 2^32.
    virtual uint32_t TickCount() = 0;
    // Suspends the calling thread for milliseconds.
    virtual void Sleep(uint32_t milliseconds) = 0;
    // The code the most recent failed call left behind.
    virtual uint32_t LastErrorCode() = 0;
    // The system's message text for an error code, with its closing line break; empty when the
    // system has none.
    virtual std::string SystemMessageText(uint32_t code) = 0;
};

// The service control manager of the platform this program was built for.
std::unique_ptr<CServiceControlManager> CreateServiceControlManager();
