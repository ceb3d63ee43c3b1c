// A Windows service for the controller's tests under a real service manager. Its command line
// (the service's binary path) says how it behaves:
//   brevane_test_service NAME MODE STEPS STEP_MS HINT_MS RELEASE_FILE
// MODE "run": start pending for STEPS check points, STEP_MS apart, with wait hint HINT_MS, then
//   running; a stop goes the same way through stop pending to stopped.
// MODE "hang": start pending at check point 1 until RELEASE_FILE exists, then stopped.
// MODE "fail": start pending as "run", then stopped with a service-specific exit code of 42.
// MODE "refusestop": starts as "run" but accepts no stop; stops once RELEASE_FILE exists.
// Any mode stops once RELEASE_FILE exists, so that a test can always clean up.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr DWORD kSpecificExitCode = 42;
constexpr DWORD kPollMs = 50;

struct SSettings {
    std::string name;
    std::string mode = "run";
    DWORD steps = 3;
    DWORD stepMs = 100;
    DWORD hintMs = 300;
    std::string releaseFile;
};

SSettings g_settings;
SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
HANDLE g_stopEvent = nullptr;
// Written by the service thread and read by the control handler's.
std::atomic<DWORD> g_controlsAccepted{0};

void Report(DWORD state, DWORD checkPoint, DWORD waitHint, DWORD exitCode = NO_ERROR,
            DWORD specificCode = 0) {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = g_controlsAccepted;
    status.dwWin32ExitCode = exitCode;
    status.dwServiceSpecificExitCode = specificCode;
    status.dwCheckPoint = checkPoint;
    status.dwWaitHint = waitHint;
    ::SetServiceStatus(g_statusHandle, &status);
}

bool Released() {
    return !g_settings.releaseFile.empty() &&
           ::GetFileAttributesA(g_settings.releaseFile.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Waits for milliseconds; true when a stop was asked for or the release file appeared.
bool StopRequestedWithin(DWORD milliseconds) {
    for (DWORD waited = 0;; waited += kPollMs) {
        if (Released())
            return true;
        if (waited >= milliseconds)
            return false;
        if (::WaitForSingleObject(g_stopEvent, kPollMs) == WAIT_OBJECT_0)
            return true;
    }
}

// Reports pending with check points 1 to STEPS; false when released on the way.
bool Advance(DWORD pendingState) {
    for (DWORD checkPoint = 1; checkPoint <= g_settings.steps; ++checkPoint) {
        Report(pendingState, checkPoint, g_settings.hintMs);
        if (Released())
            return false;
        ::Sleep(g_settings.stepMs);
    }
    return true;
}

void WINAPI Handler(DWORD control) {
    if (control == SERVICE_CONTROL_STOP && (g_controlsAccepted & SERVICE_ACCEPT_STOP) != 0) {
        // Reported here, so that the answer to the stop request already says stop pending.
        g_controlsAccepted = 0;
        Report(SERVICE_STOP_PENDING, 1, g_settings.hintMs);
        ::SetEvent(g_stopEvent);
    }
}

void WINAPI ServiceMain(DWORD /*argc*/, LPSTR* /*argv*/) {
    g_statusHandle = ::RegisterServiceCtrlHandlerA(g_settings.name.c_str(), Handler);
    if (g_statusHandle == nullptr)
        return;
    g_stopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const std::string& mode = g_settings.mode;
    if (mode == "hang") {
        Report(SERVICE_START_PENDING, 1, g_settings.hintMs);
        while (!StopRequestedWithin(INFINITE)) {
        }
        Report(SERVICE_STOPPED, 0, 0);
        return;
    }
    if (!Advance(SERVICE_START_PENDING)) {
        Report(SERVICE_STOPPED, 0, 0);
        return;
    }
    if (mode == "fail") {
        Report(SERVICE_STOPPED, 0, 0, ERROR_SERVICE_SPECIFIC_ERROR, kSpecificExitCode);
        return;
    }
    g_controlsAccepted = mode == "refusestop" ? 0 : SERVICE_ACCEPT_STOP;
    Report(SERVICE_RUNNING, 0, 0);
    while (!StopRequestedWithin(INFINITE)) {
    }
    g_controlsAccepted = 0;
    if (!Released())
        Advance(SERVICE_STOP_PENDING);
    Report(SERVICE_STOPPED, 0, 0);
}

DWORD Number(const char* text) {
    return static_cast<DWORD>(std::strtoul(text, nullptr, 10));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    g_settings.name = argv[1];
    if (argc > 2)
        g_settings.mode = argv[2];
    if (argc > 5) {
        g_settings.steps = Number(argv[3]);
        g_settings.stepMs = Number(argv[4]);
        g_settings.hintMs = Number(argv[5]);
    }
    if (argc > 6)
        g_settings.releaseFile = argv[6];
    SERVICE_TABLE_ENTRYA table[] = {{&g_settings.name[0], ServiceMain}, {nullptr, nullptr}};
    return ::StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
