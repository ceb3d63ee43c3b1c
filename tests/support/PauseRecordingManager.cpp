#include "PauseRecordingManager.h"

CPauseRecordingManager::CPauseRecordingManager() : m_real(CreateServiceControlManager()) {
}

ServiceHandle CPauseRecordingManager::OpenManager(const std::string& machineName,
                                                  uint32_t desiredAccess) {
    return m_real->OpenManager(machineName, desiredAccess);
}

ServiceHandle CPauseRecordingManager::OpenServiceByName(ServiceHandle manager,
                                                        const std::string& name,
                                                        uint32_t desiredAccess) {
    return m_real->OpenServiceByName(manager, name, desiredAccess);
}

bool CPauseRecordingManager::RequestStart(ServiceHandle service) {
    return m_real->RequestStart(service);
}

bool CPauseRecordingManager::ControlService(ServiceHandle service, uint32_t control,
                                            SServiceStatus& status) {
    return m_real->ControlService(service, control, status);
}

bool CPauseRecordingManager::QueryServiceStatus(ServiceHandle service, SServiceStatus& status) {
    return m_real->QueryServiceStatus(service, status);
}

void CPauseRecordingManager::CloseServiceHandle(ServiceHandle handle) {
    m_real->CloseServiceHandle(handle);
}

uint32_t CPauseRecordingManager::TickCount() {
    return m_real->TickCount();
}

void CPauseRecordingManager::Sleep(uint32_t milliseconds) {
    m_pauses.push_back(milliseconds);
    m_real->Sleep(milliseconds);
}

uint32_t CPauseRecordingManager::LastErrorCode() {
    return m_real->LastErrorCode();
}

std::string CPauseRecordingManager::SystemMessageText(uint32_t code) {
    return m_real->SystemMessageText(code);
}

void CPauseRecordingManager::RecordMessage(const char* message, void* userData) {
    static_cast<std::vector<std::string>*>(userData)->push_back(message);
}
