// The controller on the Win32 backend against the system's own service manager (Wine's, in the
// Windows stage), with brevane_test_service registered afresh by each test. The system's message
// words are its own: only the codes and the structure of the texts are compared.
#include "PauseRecordingManager.h"
#include "service/ServiceController.h"
#include "service/WindowsErrors.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace WindowsErrors;

namespace {

const char* const kStartPending = "Service start pending.";
const char* const kStartSuccess = "StartService SUCCESS.";
const char* const kStopPending = "Service stop pending.";
const char* const kStopSuccess = "StopService SUCCESS.";
// Long enough for any service start or stop of these tests, on a loaded machine too.
constexpr DWORD kSettleMs = 20000;

// The test program's folder, where the build puts the test service beside it.
std::string ModuleFolder() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// How the test service behaves; see TestService.cpp.
struct SBehaviour {
    const char* mode = "run";
    DWORD steps = 3;
    DWORD stepMs = 100;
    DWORD hintMs = 300;
};

// One test service registered with the system's manager under its own name, stopped and
// deleted again when the test ends.
class CInstalledService {
public:
    CInstalledService(const std::string& name, const SBehaviour& behaviour) {
        char temp[MAX_PATH];
        const DWORD length = ::GetTempPathA(MAX_PATH, temp);
        m_releaseFile = std::string(temp, length) + name + ".release";
        ::DeleteFileA(m_releaseFile.c_str());
        const std::string command = "\"" + ModuleFolder() + "brevane_test_service.exe\" " + name +
                                    " " + behaviour.mode + " " + std::to_string(behaviour.steps) +
                                    " " + std::to_string(behaviour.stepMs) + " " +
                                    std::to_string(behaviour.hintMs) + " \"" + m_releaseFile + "\"";
        m_manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        if (m_manager == nullptr)
            return;
        m_service =
            ::CreateServiceA(m_manager, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                             SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                             command.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
        m_createError = ::GetLastError();
    }
    ~CInstalledService() {
        if (m_service != nullptr) {
            // The release file ends every mode; a stop is quicker for those that accept one.
            const HANDLE file = ::CreateFileA(m_releaseFile.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE)
                ::CloseHandle(file);
            SERVICE_STATUS status{};
            ::ControlService(m_service, SERVICE_CONTROL_STOP, &status);
            WaitUntil(SERVICE_STOPPED);
            ::DeleteService(m_service);
            ::CloseServiceHandle(m_service);
        }
        if (m_manager != nullptr)
            ::CloseServiceHandle(m_manager);
        ::DeleteFileA(m_releaseFile.c_str());
    }
    CInstalledService(const CInstalledService&) = delete;
    CInstalledService& operator=(const CInstalledService&) = delete;

    bool Installed() const { return m_service != nullptr; }
    DWORD CreateError() const { return m_createError; }

    // Starts the service directly and waits until it is in state; false when it is not.
    bool StartAndWait(DWORD state) {
        return ::StartServiceA(m_service, 0, nullptr) && WaitUntil(state);
    }

    // Polls the state until it is state or the settling time has passed.
    bool WaitUntil(DWORD state) {
        const DWORD start = ::GetTickCount();
        for (;;) {
            SERVICE_STATUS status{};
            if (!::QueryServiceStatus(m_service, &status))
                return false;
            if (status.dwCurrentState == state)
                return true;
            if (::GetTickCount() - start > kSettleMs)
                return false;
            ::Sleep(50);
        }
    }

private:
    std::string m_releaseFile;
    SC_HANDLE m_manager = nullptr;
    SC_HANDLE m_service = nullptr;
    DWORD m_createError = 0;
};

// A service name of this test's own: the stage runs tests side by side in one Wine session.
std::string ServiceName(const std::string& label) {
    return "BrevaneTest" + label;
}

// Checks "PREFIX. Error code CODE (TEXT)" with TEXT free of line breaks; a code of -1 accepts
// any code.
void ExpectErrorText(const std::string& text, const std::string& prefix, long code) {
    const std::string head =
        prefix + ". Error code " + (code < 0 ? std::string() : std::to_string(code) + " (");
    ASSERT_GE(text.size(), head.size() + 1) << text;
    EXPECT_EQ(text.substr(0, head.size()), head) << text;
    EXPECT_EQ(text.back(), ')') << text;
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    if (code < 0) {
        const std::string rest = text.substr(head.size());
        const size_t open = rest.find(" (");
        ASSERT_NE(open, std::string::npos) << text;
        EXPECT_GT(open, 0u) << text;
        EXPECT_EQ(rest.substr(0, open).find_first_not_of("-0123456789"), std::string::npos) << text;
    }
}

enum class Operation { Start, Stop, Query };

// What the test makes of the service before the controller's operation.
enum class Setup { Absent, Stopped, Running, StartPending };

// One operation on a freshly registered test service, and everything it leaves behind.
struct SCase {
    const char* label;
    SBehaviour behaviour;
    Setup setup;
    Operation operation;
    uint32_t result;
    // Empty when the operation leaves no error text.
    std::string errorPrefix;
    long errorCode;
    std::vector<std::string> messages;
    std::vector<uint32_t> pauses;
    // The state the controller reads afterwards; 0 when the service is not there.
    uint32_t stateAfter;
};

void PrintTo(const SCase& row, std::ostream* os) {
    *os << row.label;
}

class Win32ServiceTest : public testing::TestWithParam<SCase> {};

TEST_P(Win32ServiceTest, ResultTextsPausesAndState) {
    const SCase& row = GetParam();
    const std::string name = ServiceName(row.label);
    std::unique_ptr<CInstalledService> installed;
    if (row.setup != Setup::Absent) {
        installed = std::make_unique<CInstalledService>(name, row.behaviour);
        ASSERT_TRUE(installed->Installed()) << "CreateServiceA: " << installed->CreateError();
    }
    if (row.setup == Setup::Running) {
        ASSERT_TRUE(installed->StartAndWait(SERVICE_RUNNING));
    }
    if (row.setup == Setup::StartPending) {
        ASSERT_TRUE(installed->StartAndWait(SERVICE_START_PENDING));
    }
    CPauseRecordingManager manager;
    CServiceController controller(manager);
    std::vector<std::string> messages;
    controller.SetStatusCallback(CPauseRecordingManager::RecordMessage, &messages);
    uint32_t result = 0;
    switch (row.operation) {
    case Operation::Start:
        result = static_cast<uint32_t>(controller.Start(name));
        break;
    case Operation::Stop:
        result = static_cast<uint32_t>(controller.Stop(name));
        break;
    case Operation::Query:
        result = controller.QueryState(name);
        break;
    }
    EXPECT_EQ(result, row.result);
    if (row.errorPrefix.empty())
        EXPECT_EQ(controller.LastErrorText(), "");
    else
        ExpectErrorText(controller.LastErrorText(), row.errorPrefix, row.errorCode);
    EXPECT_EQ(messages, row.messages);
    EXPECT_EQ(manager.Pauses(), row.pauses);

    const uint32_t state = controller.QueryState(name);
    EXPECT_EQ(state, row.stateAfter);
    if (row.stateAfter == 0)
        ExpectErrorText(controller.LastErrorText(), "OpenService failed: ", kServiceDoesNotExist);
}

const SBehaviour kRun{};
// A hint above ten seconds: the pause is a tenth of it.
const SBehaviour kLongHint{"run", 3, 100, 12000};
const SBehaviour kHang{"hang", 0, 0, 500};
const SBehaviour kFail{"fail", 2, 100, 300};
const SBehaviour kRefuseStop{"refusestop", 1, 0, 300};

const std::vector<SCase> kCases = {
    {"StartRuns",
     kRun,
     Setup::Stopped,
     Operation::Start,
     1,
     "",
     0,
     {kStartPending, kStartSuccess},
     {1000},
     kServiceRunning},
    {"StartPausesATenthOfALongHint",
     kLongHint,
     Setup::Stopped,
     Operation::Start,
     1,
     "",
     0,
     {kStartPending, kStartSuccess},
     {1200},
     kServiceRunning},
    {"StartThatNeverEndsGivesUpAfterTheHint",
     kHang,
     Setup::Stopped,
     Operation::Start,
     1,
     "Service not started.\tCurrent state:2\tExit code: 0\tService specific exit code: 0\t"
     "Check point: 1\tWait hint: 500",
     -1,
     {kStartPending},
     {1000},
     kServiceStartPending},
    {"StartThatFailsReportsItsExitCodes",
     kFail,
     Setup::Stopped,
     Operation::Start,
     1,
     "Service not started.\tCurrent state:1\tExit code: 1066\tService specific exit code: 42\t"
     "Check point: 0\tWait hint: 0",
     -1,
     {kStartPending},
     {1000},
     kServiceStopped},
    {"StartOfARunningOne",
     kRun,
     Setup::Running,
     Operation::Start,
     0,
     "StartService failed: ",
     kServiceAlreadyRunning,
     {},
     {},
     kServiceRunning},
    {"StopStops",
     kRun,
     Setup::Running,
     Operation::Stop,
     1,
     "",
     0,
     {kStopPending, kStopSuccess},
     {1000},
     kServiceStopped},
    {"StopOfAStoppedOne",
     kRun,
     Setup::Stopped,
     Operation::Stop,
     0,
     "StopService failed: ",
     kServiceNotActive,
     {},
     {},
     kServiceStopped},
    {"StopRefused",
     kRefuseStop,
     Setup::Running,
     Operation::Stop,
     0,
     "StopService failed: ",
     kInvalidServiceControl,
     {},
     {},
     kServiceRunning},
    {"QueryStopped",
     kRun,
     Setup::Stopped,
     Operation::Query,
     kServiceStopped,
     "",
     0,
     {},
     {},
     kServiceStopped},
    {"QueryRunning",
     kRun,
     Setup::Running,
     Operation::Query,
     kServiceRunning,
     "",
     0,
     {},
     {},
     kServiceRunning},
    {"StartOfAStartingOne",
     kHang,
     Setup::StartPending,
     Operation::Start,
     0,
     "StartService failed: ",
     kServiceAlreadyRunning,
     {},
     {},
     kServiceStartPending},
    {"StartUnknown",
     kRun,
     Setup::Absent,
     Operation::Start,
     0,
     "OpenService failed: ",
     kServiceDoesNotExist,
     {},
     {},
     0},
    {"StopUnknown",
     kRun,
     Setup::Absent,
     Operation::Stop,
     0,
     "OpenService failed: ",
     kServiceDoesNotExist,
     {},
     {},
     0},
    {"QueryUnknown",
     kRun,
     Setup::Absent,
     Operation::Query,
     0,
     "OpenService failed: ",
     kServiceDoesNotExist,
     {},
     {},
     0},
};

INSTANTIATE_TEST_SUITE_P(RealManager, Win32ServiceTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SCase>& info) {
                             return std::string(info.param.label);
                         });

// A start longer than its hint whose check points advance: the controller waits it out.
TEST(Win32ServiceWaitTest, AdvancingCheckPointsKeepTheWaitGoingPastTheHint) {
    const std::string name = ServiceName("Creeping");
    CInstalledService installed(name, SBehaviour{"run", 10, 150, 300});
    ASSERT_TRUE(installed.Installed()) << "CreateServiceA: " << installed.CreateError();
    CPauseRecordingManager manager;
    CServiceController controller(manager);
    std::vector<std::string> messages;
    controller.SetStatusCallback(CPauseRecordingManager::RecordMessage, &messages);
    EXPECT_EQ(controller.Start(name), 1);
    EXPECT_EQ(controller.LastErrorText(), "");
    EXPECT_EQ(messages, (std::vector<std::string>{kStartPending, kStartSuccess}));
    // Ten steps of 150 ms outlast the first pause of a second.
    EXPECT_GE(manager.Pauses().size(), 2u);
    EXPECT_EQ(manager.Pauses(), std::vector<uint32_t>(manager.Pauses().size(), 1000));
    EXPECT_EQ(controller.QueryState(name), kServiceRunning);
}

} // namespace
