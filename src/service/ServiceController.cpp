#include "service/ServiceController.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr uint32_t kStopControl = 1;
constexpr uint32_t kShortestPauseMs = 1000;
constexpr uint32_t kLongestPauseMs = 10000;

const char* const kNotStarted =
    "Service not started.\n\tCurrent state:%d\n\tExit code: %d\n\t"
    "Service specific exit code: %d\n\tCheck point: %d\n\tWait hint: %d";
const char* const kNotStopped =
    "Service not stopped.\n\tCurrent state:%d\n\tExit code: %d\n\t"
    "Service specific exit code: %d\n\tCheck point: %d\n\tWait hint: %d";

void DiscardMessage(const char* /*message*/, void* /*userData*/) {
}

// The texts print the unsigned fields as signed decimals.
int Signed(uint32_t value) {
    return static_cast<int>(static_cast<int32_t>(value));
}

std::string NotReachedText(const char* format, const SServiceStatus& status) {
    char text[256];
    std::snprintf(text, sizeof text, format, Signed(status.currentState),
                  Signed(status.win32ExitCode), Signed(status.serviceSpecificExitCode),
                  Signed(status.checkPoint), Signed(status.waitHint));
    return text;
}

} // namespace

// What tells a start from a stop.
struct CServiceController::SOperation {
    bool isStart;
    uint32_t pendingState;
    uint32_t targetState;
    const char* refusedPrefix;
    const char* pendingMessage;
    const char* successMessage;
    const char* notReachedFormat;
};

// The manager and service handles of one operation, closed when it ends on whatever path.
class CServiceController::CHandles {
public:
    CHandles(CServiceController& controller, const std::string& serviceName)
        : m_manager(controller.m_manager) {
        m_hManager = m_manager.OpenManager(controller.m_strMachineName, controller.m_nAccessMask);
        if (m_hManager == nullptr) {
            controller.FormatError("OpenSCManager: ");
            return;
        }
        m_hService = m_manager.OpenServiceByName(m_hManager, serviceName, controller.m_nAccessMask);
        if (m_hService == nullptr) {
            m_manager.CloseServiceHandle(m_hManager);
            m_hManager = nullptr;
        }
    }
    ~CHandles() {
        if (m_hService != nullptr)
            m_manager.CloseServiceHandle(m_hService);
        if (m_hManager != nullptr)
            m_manager.CloseServiceHandle(m_hManager);
    }
    CHandles(const CHandles&) = delete;
    CHandles& operator=(const CHandles&) = delete;

    ServiceHandle Service() const { return m_hService; }

private:
    CServiceControlManager& m_manager;
    ServiceHandle m_hManager = nullptr;
    ServiceHandle m_hService = nullptr;
};

CServiceController::CServiceController(CServiceControlManager& manager)
    : m_manager(manager), m_pCallback(DiscardMessage) {
}

CServiceController::~CServiceController() = default;

void CServiceController::SetStatusCallback(ServiceStatusCallback callback, void* userData) {
    m_pCallback = callback;
    m_pUserData = userData;
}

int CServiceController::Start(const std::string& serviceName) {
    static const SOperation start = {true,
                                     kServiceStartPending,
                                     kServiceRunning,
                                     "StartService failed: ",
                                     "Service start pending.",
                                     "StartService SUCCESS.",
                                     kNotStarted};
    return RequestAndWait(serviceName, start);
}

int CServiceController::Stop(const std::string& serviceName) {
    static const SOperation stop = {false,
                                    kServiceStopPending,
                                    kServiceStopped,
                                    "StopService failed: ",
                                    "Service stop pending.",
                                    "StopService SUCCESS.",
                                    kNotStopped};
    return RequestAndWait(serviceName, stop);
}

uint32_t CServiceController::QueryState(const std::string& serviceName) {
    const CHandles handles(*this, serviceName);
    if (handles.Service() == nullptr) {
        FormatError("OpenService failed: ");
        return 0;
    }
    if (!QueryStatus(handles.Service())) {
        FormatError("QueryServiceStatus failed: ");
        return 0;
    }
    return m_lastStatus.currentState;
}

int CServiceController::RequestAndWait(const std::string& serviceName,
                                       const SOperation& operation) {
    const CHandles handles(*this, serviceName);
    if (handles.Service() == nullptr) {
        FormatError("OpenService failed: ");
        return 0;
    }
    if (!Request(handles.Service(), operation)) {
        FormatError(operation.refusedPrefix);
        return 0;
    }
    Notify(operation.pendingMessage);
    if (!QueryStatus(handles.Service())) {
        FormatError("QueryServiceStatus failed: ");
        return 0;
    }
    WaitWhile(handles.Service(), operation.pendingState);
    ReportOutcome(operation);
    return 1;
}

bool CServiceController::Request(ServiceHandle service, const SOperation& operation) {
    if (operation.isStart)
        return m_manager.RequestStart(service);
    SServiceStatus answer;
    if (!m_manager.ControlService(service, kStopControl, answer))
        return false;
    m_lastStatus = answer;
    return true;
}

bool CServiceController::QueryStatus(ServiceHandle service) {
    // Read into a copy, so that a failed query keeps the status last read.
    SServiceStatus status;
    if (!m_manager.QueryServiceStatus(service, status))
        return false;
    m_lastStatus = status;
    return true;
}

void CServiceController::WaitWhile(ServiceHandle service, uint32_t pendingState) {
    uint32_t startTick = m_manager.TickCount();
    uint32_t oldCheckPoint = m_lastStatus.checkPoint;
    while (m_lastStatus.currentState == pendingState) {
        m_manager.Sleep(std::clamp(m_lastStatus.waitHint / 10, kShortestPauseMs, kLongestPauseMs));
        if (!QueryStatus(service))
            return;
        if (m_lastStatus.checkPoint > oldCheckPoint) {
            // The service advanced: the time-out starts again.
            startTick = m_manager.TickCount();
            oldCheckPoint = m_lastStatus.checkPoint;
            continue;
        }
        // Unsigned difference, so a wrap of the tick counter does no harm.
        if (m_manager.TickCount() - startTick > m_lastStatus.waitHint)
            return;
    }
}

void CServiceController::ReportOutcome(const SOperation& operation) {
    if (m_lastStatus.currentState == operation.targetState)
        Notify(operation.successMessage);
    else
        FormatError(NotReachedText(operation.notReachedFormat, m_lastStatus));
}

void CServiceController::Notify(const char* message) {
    m_pCallback(message, m_pUserData);
}

std::string CServiceController::FormatError(const std::string& prefix) {
    m_nLastErrorCode = m_manager.LastErrorCode();
    const std::string systemText = m_manager.SystemMessageText(m_nLastErrorCode);
    std::string text = prefix + ". Error code " + std::to_string(Signed(m_nLastErrorCode)) + " (" +
                       systemText + ")";
    text.erase(
        std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }),
        text.end());
    m_strLastErrorText = text;
    return m_strLastErrorText;
}
