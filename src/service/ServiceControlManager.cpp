#include "service/ServiceControlManager.h"

// The one place where the platform's backend is chosen.
#ifdef _WIN32
#include "service/Win32ServiceManager.h"
using CPlatformServiceManager = CWin32ServiceManager;
#else
#include "service/SystemdServiceManager.h"
using CPlatformServiceManager = CSystemdServiceManager;
#endif

std::unique_ptr<CServiceControlManager> CreateServiceControlManager() {
    return std::make_unique<CPlatformServiceManager>();
}
