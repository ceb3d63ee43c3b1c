#include "service/Win32ServiceManager.h"

#include <windows.h>

namespace {

// FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM
constexpr DWORD kMessageFlags = 0x1300;
// LANG_NEUTRAL, SUBLANG_DEFAULT: the user's default language.
constexpr DWORD kDefaultLanguage = 0x400;

SC_HANDLE ToScHandle(ServiceHandle handle) {
    return static_cast<SC_HANDLE>(handle);
}

void CopyStatus(const SERVICE_STATUS& from, SServiceStatus& to) {
    to.serviceType = from.dwServiceType;
    to.currentState = from.dwCurrentState;
    to.controlsAccepted = from.dwControlsAccepted;
    to.win32ExitCode = from.dwWin32ExitCode;
    to.serviceSpecificExitCode = from.dwServiceSpecificExitCode;
    to.checkPoint = from.dwCheckPoint;
    to.waitHint = from.dwWaitHint;
}

} // namespace

ServiceHandle CWin32ServiceManager::OpenManager(const std::string& machineName,
                                                uint32_t desiredAccess) {
    const char* machine = machineName.empty() ? nullptr : machineName.c_str();
    return ::OpenSCManagerA(machine, nullptr, desiredAccess);
}

ServiceHandle CWin32ServiceManager::OpenServiceByName(ServiceHandle manager,
                                                      const std::string& name,
                                                      uint32_t desiredAccess) {
    return ::OpenServiceA(ToScHandle(manager), name.c_str(), desiredAccess);
}

bool CWin32ServiceManager::RequestStart(ServiceHandle service) {
    return ::StartServiceA(ToScHandle(service), 0, nullptr) != FALSE;
}

bool CWin32ServiceManager::ControlService(ServiceHandle service, uint32_t control,
                                          SServiceStatus& status) {
    SERVICE_STATUS answer{};
    if (!::ControlService(ToScHandle(service), control, &answer))
        return false;
    CopyStatus(answer, status);
    return true;
}

bool CWin32ServiceManager::QueryServiceStatus(ServiceHandle service, SServiceStatus& status) {
    SERVICE_STATUS answer{};
    if (!::QueryServiceStatus(ToScHandle(service), &answer))
        return false;
    CopyStatus(answer, status);
    return true;
}

void CWin32ServiceManager::CloseServiceHandle(ServiceHandle handle) {
    ::CloseServiceHandle(ToScHandle(handle));
}

uint32_t CWin32ServiceManager::TickCount() {
    return ::GetTickCount();
}

void CWin32ServiceManager::Sleep(uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

uint32_t CWin32ServiceManager::LastErrorCode() {
    return ::GetLastError();
}

std::string CWin32ServiceManager::SystemMessageText(uint32_t code) {
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(kMessageFlags, nullptr, code, kDefaultLanguage,
                                          reinterpret_cast<char*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr)
        return std::string();
    std::string text(buffer, length);
    ::LocalFree(buffer);
    return text;
}
