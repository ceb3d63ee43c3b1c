#include "SimulatedServiceManager.h"

#include "service/WindowsErrors.h"

namespace {

constexpr uint32_t kStopControl = 1;

} // namespace

SServiceStatus StatusOf(uint32_t state, uint32_t checkPoint, uint32_t waitHint) {
    SServiceStatus status;
    status.serviceType = 0x10;
    status.currentState = state;
    status.checkPoint = checkPoint;
    status.waitHint = waitHint;
    return status;
}

void CSimulatedServiceManager::Install(const std::string& name, uint32_t state) {
    m_services[name].status = StatusOf(state);
}

void CSimulatedServiceManager::SetState(const std::string& name, uint32_t state) {
    SService& service = m_services.at(name);
    service.coming.clear();
    service.status = StatusOf(state);
}

void CSimulatedServiceManager::ScriptStart(const std::string& name,
                                           std::vector<SServiceStatus> statuses) {
    m_services.at(name).startScript = std::move(statuses);
}

void CSimulatedServiceManager::ScriptStop(const std::string& name,
                                          std::vector<SServiceStatus> statuses) {
    m_services.at(name).stopScript = std::move(statuses);
}

void CSimulatedServiceManager::RefuseRequests(const std::string& name, uint32_t code) {
    m_services.at(name).refusal = code;
}

void CSimulatedServiceManager::FailQueriesAfter(const std::string& name, uint32_t successes,
                                                uint32_t code) {
    SService& service = m_services.at(name);
    service.queriesFail = true;
    service.queriesLeft = successes;
    service.queryFailure = code;
}

void CSimulatedServiceManager::FailManager(uint32_t code) {
    m_nManagerFailure = code;
}

uint32_t CSimulatedServiceManager::State(const std::string& name) const {
    return m_services.at(name).status.currentState;
}

ServiceHandle CSimulatedServiceManager::OpenManager(const std::string& /*machineName*/,
                                                    uint32_t /*desiredAccess*/) {
    if (m_nManagerFailure != 0) {
        Fail(m_nManagerFailure);
        return nullptr;
    }
    return NewHandle(std::string());
}

ServiceHandle CSimulatedServiceManager::OpenServiceByName(ServiceHandle manager,
                                                          const std::string& name,
                                                          uint32_t /*desiredAccess*/) {
    if (m_handles.count(manager) == 0 || m_services.count(name) == 0) {
        Fail(WindowsErrors::kServiceDoesNotExist);
        return nullptr;
    }
    return NewHandle(name);
}

bool CSimulatedServiceManager::RequestStart(ServiceHandle handle) {
    SService* service = ServiceOf(handle);
    if (service == nullptr)
        return false;
    if (service->status.currentState != kServiceStopped && service->refusal == 0)
        return Fail(WindowsErrors::kServiceAlreadyRunning);
    return Request(*service, service->startScript, kServiceRunning);
}

bool CSimulatedServiceManager::ControlService(ServiceHandle handle, uint32_t control,
                                              SServiceStatus& status) {
    SService* service = ServiceOf(handle);
    if (service == nullptr)
        return false;
    if (control != kStopControl)
        return Fail(WindowsErrors::kInvalidServiceControl);
    if (service->status.currentState == kServiceStopped && service->refusal == 0)
        return Fail(WindowsErrors::kServiceNotActive);
    if (!Request(*service, service->stopScript, kServiceStopped))
        return false;
    // The answer to the control is the status the service reports first.
    status = service->coming.front();
    return true;
}

bool CSimulatedServiceManager::QueryServiceStatus(ServiceHandle handle, SServiceStatus& status) {
    SService* service = ServiceOf(handle);
    if (service == nullptr)
        return false;
    if (service->queriesFail) {
        if (service->queriesLeft == 0)
            return Fail(service->queryFailure);
        --service->queriesLeft;
    }
    if (!service->coming.empty()) {
        service->status = service->coming.front();
        if (service->coming.size() > 1)
            service->coming.pop_front();
    }
    status = service->status;
    return true;
}

void CSimulatedServiceManager::CloseServiceHandle(ServiceHandle handle) {
    if (m_handles.erase(handle) == 0)
        ++m_nBadCloses;
}

void CSimulatedServiceManager::Sleep(uint32_t milliseconds) {
    m_nTick += milliseconds;
    m_pauses.push_back(milliseconds);
    if (m_onSleep)
        m_onSleep(milliseconds);
}

std::string CSimulatedServiceManager::SystemMessageText(uint32_t code) {
    return WindowsErrors::MessageText(code);
}

CSimulatedServiceManager::SService* CSimulatedServiceManager::ServiceOf(ServiceHandle handle) {
    const auto open = m_handles.find(handle);
    if (open == m_handles.end() || open->second.empty()) {
        Fail(WindowsErrors::kInvalidHandle);
        return nullptr;
    }
    return &m_services.at(open->second);
}

ServiceHandle CSimulatedServiceManager::NewHandle(const std::string& name) {
    const ServiceHandle handle = reinterpret_cast<ServiceHandle>(m_nNextHandle++);
    m_handles[handle] = name;
    return handle;
}

bool CSimulatedServiceManager::Request(SService& service, const std::vector<SServiceStatus>& script,
                                       uint32_t unscriptedOutcome) {
    if (service.refusal != 0)
        return Fail(service.refusal);
    service.coming.assign(script.begin(), script.end());
    if (service.coming.empty())
        service.coming.push_back(StatusOf(unscriptedOutcome));
    return true;
}

bool CSimulatedServiceManager::Fail(uint32_t code) {
    m_nLastErrorCode = code;
    return false;
}
