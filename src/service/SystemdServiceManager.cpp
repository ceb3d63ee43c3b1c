#include "service/SystemdServiceManager.h"

#include "service/WindowsErrors.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <systemd/sd-bus.h>
#include <thread>

using namespace WindowsErrors;

namespace {

const char* const kDestination = "org.freedesktop.systemd1";
const char* const kManagerPath = "/org/freedesktop/systemd1";
const char* const kManagerInterface = "org.freedesktop.systemd1.Manager";
const char* const kUnitInterface = "org.freedesktop.systemd1.Unit";
const char* const kServiceInterface = "org.freedesktop.systemd1.Service";
const char* const kJobInterface = "org.freedesktop.systemd1.Job";

constexpr uint32_t kStopControl = 1;
constexpr uint32_t kOwnProcessType = 0x10;
constexpr uint32_t kAcceptStop = 1;
// The longest wait hint reported: a tenth of it is the controller's longest pause.
constexpr uint32_t kLongestWaitHintMs = 10000;
// A start or stop may wait for the user to answer the system's password prompt.
constexpr uint64_t kAuthorisationTimeoutUs = 300ull * 1000 * 1000;
// Every other call: a stuck systemd must not freeze the window's once-a-second tick for long.
constexpr uint64_t kQueryTimeoutUs = 5ull * 1000 * 1000;

// Any non-null pointer: the manager handle carries no state of its own.
char g_managerHandle;

// An sd-bus error, freed when it goes.
struct SBusError {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    ~SBusError() { sd_bus_error_free(&error); }
    const char* Name() const { return sd_bus_error_is_set(&error) ? error.name : nullptr; }
};

uint32_t StateOf(const std::string& activeState, const std::string& jobType) {
    if (jobType == "stop")
        return kServiceStopPending;
    if (jobType == "start")
        return kServiceStartPending;
    if (activeState == "active" || activeState == "reloading")
        return kServiceRunning;
    if (activeState == "activating")
        return kServiceStartPending;
    if (activeState == "deactivating")
        return kServiceStopPending;
    return kServiceStopped;
}

// The Windows code for a D-Bus error name or an errno value; 0 when none fits.
uint32_t MappedCode(const char* name, int errnoValue) {
    struct SName {
        const char* name;
        uint32_t code;
    };
    static const SName kNames[] = {
        {"org.freedesktop.DBus.Error.AccessDenied", kAccessDenied},
        {"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired", kAccessDenied},
        {"org.freedesktop.systemd1.NoSuchUnit", kServiceDoesNotExist},
        {"org.freedesktop.systemd1.UnitMasked", kServiceDisabled},
        {"org.freedesktop.DBus.Error.ServiceUnknown", kServerUnavailable},
        {"org.freedesktop.DBus.Error.NameHasNoOwner", kServerUnavailable},
        {"org.freedesktop.DBus.Error.NoReply", kServiceRequestTimeout},
        {"org.freedesktop.DBus.Error.Timeout", kServiceRequestTimeout},
    };
    for (const SName& entry : kNames) {
        if (name != nullptr && std::strcmp(name, entry.name) == 0)
            return entry.code;
    }
    if (name != nullptr)
        return 0;
    switch (errnoValue) {
    case EACCES:
    case EPERM:
        return kAccessDenied;
    case ENOENT:
    case ECONNREFUSED:
    case ENOTCONN:
    case ECONNRESET:
        return kServerUnavailable;
    case ETIMEDOUT:
        return kServiceRequestTimeout;
    default:
        return 0;
    }
}

uint32_t WaitHintMs(uint64_t timeoutUs) {
    // systemd's 0 and its largest value both mean "no time-out".
    const uint64_t milliseconds = timeoutUs / 1000;
    if (milliseconds == 0 || milliseconds > kLongestWaitHintMs)
        return kLongestWaitHintMs;
    return static_cast<uint32_t>(milliseconds);
}

} // namespace

// An opened service: its unit, and the check point its queries advance while a job runs.
struct CSystemdServiceManager::SUnit {
    std::string name;
    std::string path;
    uint32_t checkPoint = 0;
};

CSystemdServiceManager::CSystemdServiceManager() = default;

CSystemdServiceManager::~CSystemdServiceManager() {
    sd_bus_flush_close_unref(m_bus);
}

ServiceHandle CSystemdServiceManager::OpenManager(const std::string& machineName,
                                                  uint32_t /*desiredAccess*/) {
    if (!machineName.empty()) {
        Refuse(kServerUnavailable);
        return nullptr;
    }
    return Connect() ? &g_managerHandle : nullptr;
}

ServiceHandle CSystemdServiceManager::OpenServiceByName(ServiceHandle /*manager*/,
                                                        const std::string& name,
                                                        uint32_t /*desiredAccess*/) {
    auto unit = std::make_unique<SUnit>();
    unit->name = name + ".service";
    std::string loadState;
    if (!LoadUnit(unit->name, unit->path) ||
        !ReadString(unit->path, kUnitInterface, "LoadState", loadState))
        return nullptr;
    if (loadState == "not-found") {
        Refuse(kServiceDoesNotExist);
        return nullptr;
    }
    return unit.release();
}

bool CSystemdServiceManager::RequestStart(ServiceHandle service) {
    SUnit& unit = *static_cast<SUnit*>(service);
    SServiceStatus status;
    if (!ReadStatus(unit, status))
        return false;
    // systemd would accept a start of an active unit silently; Windows refuses it.
    if (status.currentState == kServiceRunning || status.currentState == kServiceStartPending)
        return Refuse(kServiceAlreadyRunning);
    return CallUnitMethod(unit, "StartUnit");
}

bool CSystemdServiceManager::ControlService(ServiceHandle service, uint32_t control,
                                            SServiceStatus& status) {
    SUnit& unit = *static_cast<SUnit*>(service);
    if (control != kStopControl)
        return Refuse(kInvalidServiceControl);
    SServiceStatus current;
    if (!ReadStatus(unit, current))
        return false;
    if (current.currentState == kServiceStopped)
        return Refuse(kServiceNotActive);
    return CallUnitMethod(unit, "StopUnit") && ReadStatus(unit, status);
}

bool CSystemdServiceManager::QueryServiceStatus(ServiceHandle service, SServiceStatus& status) {
    return ReadStatus(*static_cast<SUnit*>(service), status);
}

void CSystemdServiceManager::CloseServiceHandle(ServiceHandle handle) {
    if (handle != &g_managerHandle)
        delete static_cast<SUnit*>(handle);
}

uint32_t CSystemdServiceManager::TickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
    return static_cast<uint32_t>(milliseconds);
}

void CSystemdServiceManager::Sleep(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint32_t CSystemdServiceManager::LastErrorCode() {
    return m_nLastErrorCode;
}

std::string CSystemdServiceManager::SystemMessageText(uint32_t code) {
    const std::string text = MessageText(code);
    if (!text.empty() || code != m_nLastErrorCode)
        return text;
    return m_strLastErrorMessage;
}

bool CSystemdServiceManager::Connect() {
    if (m_bus != nullptr && sd_bus_is_open(m_bus) > 0)
        return true;
    // A connection the bus dropped is made afresh.
    m_bus = sd_bus_flush_close_unref(m_bus);
    const int result = sd_bus_open_system(&m_bus);
    if (result < 0) {
        m_bus = nullptr;
        return Fail(result);
    }
    sd_bus_set_method_call_timeout(m_bus, kQueryTimeoutUs);
    return true;
}

bool CSystemdServiceManager::LoadUnit(const std::string& unitName, std::string& path) {
    SBusError error;
    sd_bus_message* reply = nullptr;
    int result = sd_bus_call_method(m_bus, kDestination, kManagerPath, kManagerInterface,
                                    "LoadUnit", &error.error, &reply, "s", unitName.c_str());
    const char* unitPath = nullptr;
    if (result >= 0)
        result = sd_bus_message_read(reply, "o", &unitPath);
    if (result >= 0)
        path = unitPath;
    sd_bus_message_unref(reply);
    return result >= 0 || Fail(result, error.Name(), error.error.message);
}

bool CSystemdServiceManager::CallUnitMethod(const SUnit& unit, const char* method) {
    sd_bus_message* call = nullptr;
    int result = sd_bus_message_new_method_call(m_bus, &call, kDestination, kManagerPath,
                                                kManagerInterface, method);
    if (result >= 0)
        result = sd_bus_message_append(call, "ss", unit.name.c_str(), "replace");
    // A desktop user is asked for a password rather than refused.
    if (result >= 0)
        result = sd_bus_message_set_allow_interactive_authorization(call, 1);
    SBusError error;
    if (result >= 0)
        result = sd_bus_call(m_bus, call, kAuthorisationTimeoutUs, &error.error, nullptr);
    sd_bus_message_unref(call);
    return result >= 0 || Fail(result, error.Name(), error.error.message);
}

bool CSystemdServiceManager::ReadStatus(SUnit& unit, SServiceStatus& status) {
    std::string activeState;
    std::string jobType;
    if (!ReadString(unit.path, kUnitInterface, "ActiveState", activeState) ||
        !ReadJobType(unit.path, jobType))
        return false;
    SServiceStatus read;
    read.serviceType = kOwnProcessType;
    read.currentState = StateOf(activeState, jobType);
    read.controlsAccepted = read.currentState == kServiceRunning ? kAcceptStop : 0;
    // Every query that finds systemd's job still running counts as progress.
    if (!jobType.empty())
        ++unit.checkPoint;
    const bool pending =
        read.currentState == kServiceStartPending || read.currentState == kServiceStopPending;
    if (pending) {
        read.checkPoint = unit.checkPoint;
        if (!ReadWaitHint(unit, read.currentState, read))
            return false;
    }
    if (read.currentState == kServiceStopped && !ReadExitCodes(unit, read))
        return false;
    status = read;
    return true;
}

bool CSystemdServiceManager::ReadString(const std::string& path, const char* interface,
                                        const char* property, std::string& value) {
    SBusError error;
    char* text = nullptr;
    const int result = sd_bus_get_property_string(m_bus, kDestination, path.c_str(), interface,
                                                  property, &error.error, &text);
    if (result < 0)
        return Fail(result, error.Name(), error.error.message);
    value = text;
    std::free(text);
    return true;
}

bool CSystemdServiceManager::ReadJobType(const std::string& unitPath, std::string& jobType) {
    SBusError error;
    sd_bus_message* reply = nullptr;
    int result = sd_bus_get_property(m_bus, kDestination, unitPath.c_str(), kUnitInterface, "Job",
                                     &error.error, &reply, "(uo)");
    uint32_t jobId = 0;
    const char* jobPath = nullptr;
    if (result >= 0)
        result = sd_bus_message_read(reply, "(uo)", &jobId, &jobPath);
    const std::string path = jobPath != nullptr ? jobPath : "";
    sd_bus_message_unref(reply);
    if (result < 0)
        return Fail(result, error.Name(), error.error.message);
    jobType.clear();
    // A job that ended since is no job: its type stays empty.
    if (jobId != 0) {
        SBusError gone;
        char* type = nullptr;
        if (sd_bus_get_property_string(m_bus, kDestination, path.c_str(), kJobInterface, "JobType",
                                       &gone.error, &type) >= 0) {
            jobType = type;
            std::free(type);
        }
    }
    return true;
}

bool CSystemdServiceManager::ReadExitCodes(const SUnit& unit, SServiceStatus& status) {
    std::string outcome;
    if (!ReadString(unit.path, kServiceInterface, "Result", outcome))
        return false;
    if (outcome == "success")
        return true;
    SBusError error;
    int32_t exitStatus = 0;
    const int result =
        sd_bus_get_property_trivial(m_bus, kDestination, unit.path.c_str(), kServiceInterface,
                                    "ExecMainStatus", &error.error, 'i', &exitStatus);
    if (result < 0)
        return Fail(result, error.Name(), error.error.message);
    if (outcome == "timeout") {
        status.win32ExitCode = kServiceRequestTimeout;
    } else if (outcome == "signal" || outcome == "core-dump") {
        status.win32ExitCode = kProcessAborted;
        status.serviceSpecificExitCode = static_cast<uint32_t>(exitStatus);
    } else {
        status.win32ExitCode = kServiceSpecificError;
        status.serviceSpecificExitCode = static_cast<uint32_t>(exitStatus);
    }
    return true;
}

bool CSystemdServiceManager::ReadWaitHint(const SUnit& unit, uint32_t state,
                                          SServiceStatus& status) {
    const char* property = state == kServiceStartPending ? "TimeoutStartUSec" : "TimeoutStopUSec";
    SBusError error;
    uint64_t timeoutUs = 0;
    const int result =
        sd_bus_get_property_trivial(m_bus, kDestination, unit.path.c_str(), kServiceInterface,
                                    property, &error.error, 't', &timeoutUs);
    if (result < 0)
        return Fail(result, error.Name(), error.error.message);
    status.waitHint = WaitHintMs(timeoutUs);
    return true;
}

bool CSystemdServiceManager::Fail(int result, const char* errorName, const char* errorMessage) {
    // sd-bus returns the errno value it maps a D-Bus error to.
    const int errnoValue = -result;
    const uint32_t code = MappedCode(errorName, errnoValue);
    m_nLastErrorCode =
        code != 0 ? code : kApplicationBit | (static_cast<uint32_t>(errnoValue) & 0xFFFF);
    m_strLastErrorMessage = errorMessage != nullptr ? errorMessage : std::strerror(errnoValue);
    return false;
}

bool CSystemdServiceManager::Refuse(uint32_t code) {
    m_nLastErrorCode = code;
    m_strLastErrorMessage.clear();
    return false;
}
