#include "SystemdStandIn.h"

#include <cstdlib>
#include <stdexcept>

namespace {

const char* const kAddressVariable = "DBUS_SYSTEM_BUS_ADDRESS";

// A bus that anyone on it may use fully, listening in folder only.
std::string BusConfig(const std::string& folder) {
    return "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig>\n"
           "  <type>session</type>\n"
           "  <listen>unix:dir=" +
           folder +
           "</listen>\n"
           "  <auth>EXTERNAL</auth>\n"
           "  <policy context=\"default\">\n"
           "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
           "    <allow eavesdrop=\"true\"/>\n"
           "    <allow own=\"*\"/>\n"
           "  </policy>\n"
           "</busconfig>\n";
}

std::string UnitsJson(const std::vector<SStandInUnit>& units) {
    std::string json = "{";
    for (const SStandInUnit& unit : units) {
        if (json.size() > 1)
            json += ", ";
        json += "\"" + unit.name + "\": {\"state\": \"" + unit.state +
                "\", \"delay_ms\": " + std::to_string(unit.delayMs) +
                ", \"deny\": " + (unit.deny ? "true" : "false") +
                ", \"asks\": " + (unit.asks ? "true" : "false") +
                ", \"timeout_start_us\": " + std::to_string(unit.timeoutStartSeconds) + "000000";
        if (unit.failExit)
            json += ", \"fail_exit\": " + std::to_string(*unit.failExit);
        json += "}";
    }
    return json + "}";
}

} // namespace

CSystemdStandIn::CSystemdStandIn(const std::vector<SStandInUnit>& units) {
    const std::string config = m_folder / "bus.conf";
    WriteFileBytes(config, BusConfig(m_folder.Path().string()));
    m_bus = std::make_unique<CServerProcess>(
        std::vector<std::string>{"/usr/bin/dbus-daemon", "--config-file=" + config, "--nofork",
                                 "--print-address"},
        m_folder / "bus.log");
    m_address = m_bus->ReadLine();
    if (m_address.rfind("unix:", 0) != 0)
        throw std::runtime_error("dbus-daemon said '" + m_address + "' instead of its address");
    m_standIn = std::make_unique<CServerProcess>(
        std::vector<std::string>{"/usr/bin/python3", SYSTEMD_STAND_IN_SCRIPT, "--address",
                                 m_address, "--units", UnitsJson(units)},
        m_folder / "stand-in.log");
    const std::string ready = m_standIn->ReadLine();
    if (ready != "READY")
        throw std::runtime_error("the systemd stand-in said '" + ready + "'");
    if (const char* previous = std::getenv(kAddressVariable))
        m_previousAddress = previous;
    ::setenv(kAddressVariable, m_address.c_str(), 1);
}

CSystemdStandIn::~CSystemdStandIn() {
    if (m_previousAddress)
        ::setenv(kAddressVariable, m_previousAddress->c_str(), 1);
    else
        ::unsetenv(kAddressVariable);
}
