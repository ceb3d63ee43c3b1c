#include "service/WindowsErrors.h"

namespace WindowsErrors {

std::string MessageText(uint32_t code) {
    struct SEntry {
        uint32_t code;
        const char* text;
    };
    static const SEntry kTexts[] = {
        {kSuccess, "The operation completed successfully.\r\n"},
        {kAccessDenied, "Access is denied.\r\n"},
        {kInvalidHandle, "The handle is invalid.\r\n"},
        {kInvalidServiceControl, "The requested control is not valid for this service.\r\n"},
        {kServiceRequestTimeout,
         "The service did not respond to the start or control request in a timely fashion.\r\n"},
        {kServiceAlreadyRunning, "An instance of the service is already running.\r\n"},
        {kServiceDisabled, "The service cannot be started, either because it is disabled or "
                           "because it has no enabled devices associated with it.\r\n"},
        {kServiceDoesNotExist, "The specified service does not exist as an installed service.\r\n"},
        {kServiceNotActive, "The service has not been started.\r\n"},
        {kServiceSpecificError, "The service has returned a service-specific error code.\r\n"},
        {kProcessAborted, "The process terminated unexpectedly.\r\n"},
        {kServerUnavailable, "The RPC server is unavailable.\r\n"},
    };
    for (const SEntry& entry : kTexts) {
        if (entry.code == code)
            return entry.text;
    }
    return std::string();
}

} // namespace WindowsErrors
