#pragma once

#include <cstdint>
#include <string>

// The Windows error codes that the service backends report, and their system texts.
namespace WindowsErrors {

constexpr uint32_t kSuccess = 0;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kInvalidHandle = 6;
constexpr uint32_t kInvalidServiceControl = 1052;
constexpr uint32_t kServiceRequestTimeout = 1053;
constexpr uint32_t kServiceAlreadyRunning = 1056;
constexpr uint32_t kServiceDisabled = 1058;
constexpr uint32_t kServiceDoesNotExist = 1060;
constexpr uint32_t kServiceNotActive = 1062;
constexpr uint32_t kServiceSpecificError = 1066;
constexpr uint32_t kProcessAborted = 1067;
constexpr uint32_t kServerUnavailable = 1722;
// Windows leaves bit 29 to applications: no system code has it set.
constexpr uint32_t kApplicationBit = 0x20000000;

// Windows' message text for code, ending in CR LF as the system writes it; empty for a code
// not listed above.
std::string MessageText(uint32_t code);

} // namespace WindowsErrors
