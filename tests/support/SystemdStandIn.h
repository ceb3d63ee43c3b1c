#pragma once

#include "ServerProcess.h"
#include "TempFolder.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// One unit the systemd stand-in knows.
struct SStandInUnit {
    // A unit called name (with its suffix: "Tarvon4.service") in state, whose jobs take delayMs.
    SStandInUnit(std::string unitName, std::string activeState = "inactive", int jobMs = 300)
        : name(std::move(unitName)), state(std::move(activeState)), delayMs(jobMs) {}

    std::string name;
    std::string state;            // its ActiveState at the start
    int delayMs;                  // how long a start or stop job runs
    std::optional<int> failExit;  // a start ends "failed" with this exit status
    bool deny = false;            // start and stop are refused as access denied
    bool asks = false;            // ... unless the call allows interactive authorisation
    int timeoutStartSeconds = 90; // its TimeoutStartUSec, in seconds
};

// A private dbus-daemon with a stand-in for systemd on it. While it lives, this process's
// DBUS_SYSTEM_BUS_ADDRESS names that bus; the machine's own bus is never touched.
class CSystemdStandIn {
public:
    // Starts the bus and the stand-in knowing units; throws when either does not come up.
    explicit CSystemdStandIn(const std::vector<SStandInUnit>& units);
    // Stops both and restores the variable.
    ~CSystemdStandIn();
    CSystemdStandIn(const CSystemdStandIn&) = delete;
    CSystemdStandIn& operator=(const CSystemdStandIn&) = delete;

    // The private bus's address.
    const std::string& Address() const { return m_address; }

private:
    CTempFolder m_folder;
    std::unique_ptr<CServerProcess> m_bus;
    std::unique_ptr<CServerProcess> m_standIn;
    std::string m_address;
    std::optional<std::string> m_previousAddress;
};
