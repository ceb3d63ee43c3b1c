#include "service/ServiceController.h"
#include "SimulatedServiceManager.h"
#include "service/WindowsErrors.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace WindowsErrors;

namespace {

const std::string kName = "Tarvon4";
const char* const kStartPending = "Service start pending.";
const char* const kStartSuccess = "StartService SUCCESS.";
const char* const kStopPending = "Service stop pending.";
const char* const kStopSuccess = "StopService SUCCESS.";
const std::string kDone = ". Error code 0 (The operation completed successfully.)";

void Record(const char* message, void* userData) {
    static_cast<std::vector<std::string>*>(userData)->push_back(message);
}

enum class Operation { Start, Stop, Query };

// One controller over one simulated manager, recording the progress messages.
struct SRig {
    CSimulatedServiceManager manager;
    CServiceController controller{manager};
    std::vector<std::string> messages;

    SRig() { controller.SetStatusCallback(Record, &messages); }

    uint32_t Run(Operation operation) {
        switch (operation) {
        case Operation::Start:
            return static_cast<uint32_t>(controller.Start(kName));
        case Operation::Stop:
            return static_cast<uint32_t>(controller.Stop(kName));
        case Operation::Query:
            break;
        }
        return controller.QueryState(kName);
    }
};

// A start that stays pending with waitHint and an unchanging check point.
struct SPauseCase {
    const char* label;
    uint32_t waitHint;
    uint32_t pause;
    size_t pauses;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const SPauseCase& row, std::ostream* os) {
    *os << row.label;
}

class PauseTest : public testing::TestWithParam<SPauseCase> {};

TEST_P(PauseTest, PauseIsATenthOfTheHintWithinOneToTenSecondsAndTheHintIsTheTimeOut) {
    const SPauseCase& row = GetParam();
    SRig rig;
    rig.manager.Install(kName, kServiceStopped);
    rig.manager.ScriptStart(kName, {StatusOf(kServiceStartPending, 7, row.waitHint)});
    EXPECT_EQ(rig.controller.Start(kName), 1);
    EXPECT_EQ(rig.manager.Pauses(), std::vector<uint32_t>(row.pauses, row.pause));
    EXPECT_EQ(rig.messages, std::vector<std::string>{kStartPending});
    EXPECT_EQ(rig.controller.LastErrorText(),
              "Service not started.\tCurrent state:2\tExit code: 0\tService specific exit code: "
              "0\tCheck point: 7\tWait hint: " +
                  std::to_string(row.waitHint) + kDone);
    EXPECT_EQ(rig.manager.OpenHandles(), 0u);
}

// Pauses until more than the hint has passed: hint / pause + 1 of them.
INSTANTIATE_TEST_SUITE_P(WaitHints, PauseTest,
                         testing::Values(SPauseCase{"hint0", 0, 1000, 1},
                                         SPauseCase{"hint9999", 9999, 1000, 10},
                                         SPauseCase{"hint10000", 10000, 1000, 11},
                                         SPauseCase{"hint50000", 50000, 5000, 11},
                                         SPauseCase{"hint100009", 100009, 10000, 11},
                                         SPauseCase{"hint100010", 100010, 10000, 11}),
                         [](const testing::TestParamInfo<SPauseCase>& info) {
                             return std::string(info.param.label);
                         });

// One case of a start, stop or query and everything it leaves behind.
struct SOutcomeCase {
    const char* label;
    std::function<void(CSimulatedServiceManager&)> setUp;
    Operation operation;
    uint32_t result;
    std::string lastErrorText;
    std::vector<std::string> messages;
    std::vector<uint32_t> pauses;
};

void PrintTo(const SOutcomeCase& row, std::ostream* os) {
    *os << row.label;
}

class OutcomeTest : public testing::TestWithParam<SOutcomeCase> {};

TEST_P(OutcomeTest, ResultTextMessagesAndPauses) {
    const SOutcomeCase& row = GetParam();
    SRig rig;
    rig.manager.Install(kName, kServiceStopped);
    row.setUp(rig.manager);
    EXPECT_EQ(rig.Run(row.operation), row.result);
    EXPECT_EQ(rig.controller.LastErrorText(), row.lastErrorText);
    EXPECT_EQ(rig.messages, row.messages);
    EXPECT_EQ(rig.manager.Pauses(), row.pauses);
    // Every handle obtained is closed, once, on every path.
    EXPECT_EQ(rig.manager.OpenHandles(), 0u);
    EXPECT_EQ(rig.manager.BadCloses(), 0);
}

const std::string kUnknown =
    "OpenService failed: . Error code 1060 (The specified service does not exist as an "
    "installed service.)";
const std::string kManagerDenied = "OpenService failed: . Error code 5 (Access is denied.)";
const std::string kQueryDenied = "QueryServiceStatus failed: . Error code 5 (Access is denied.)";

void Uninstalled(CSimulatedServiceManager& manager) {
    manager.Uninstall(kName);
    manager.Install("Other", kServiceRunning);
}

void ManagerDenied(CSimulatedServiceManager& manager) {
    manager.FailManager(kAccessDenied);
}

void Running(CSimulatedServiceManager& manager) {
    manager.SetState(kName, kServiceRunning);
}

void QueriesDenied(CSimulatedServiceManager& manager) {
    manager.FailQueriesAfter(kName, 0, kAccessDenied);
}

const std::vector<SOutcomeCase> kOutcomes = {
    {"StartRunsAtOnceWithoutPause",
     [](CSimulatedServiceManager&) {},
     Operation::Start,
     1,
     "",
     {kStartPending, kStartSuccess},
     {}},
    {"StopStopsAtOnceWithoutPause",
     Running,
     Operation::Stop,
     1,
     "",
     {kStopPending, kStopSuccess},
     {}},
    {"QueryStopped",
     [](CSimulatedServiceManager&) {},
     Operation::Query,
     kServiceStopped,
     "",
     {},
     {}},
    {"QueryRunning", Running, Operation::Query, kServiceRunning, "", {}, {}},
    {"QueryPaused",
     [](CSimulatedServiceManager& m) { m.SetState(kName, kServicePaused); },
     Operation::Query,
     kServicePaused,
     "",
     {},
     {}},
    {"StartUnknownName", Uninstalled, Operation::Start, 0, kUnknown, {}, {}},
    {"StopUnknownName", Uninstalled, Operation::Stop, 0, kUnknown, {}, {}},
    {"QueryUnknownName", Uninstalled, Operation::Query, 0, kUnknown, {}, {}},
    {"StartManagerDenied", ManagerDenied, Operation::Start, 0, kManagerDenied, {}, {}},
    {"StopManagerDenied", ManagerDenied, Operation::Stop, 0, kManagerDenied, {}, {}},
    {"QueryManagerDenied", ManagerDenied, Operation::Query, 0, kManagerDenied, {}, {}},
    {"StartAlreadyRunning",
     Running,
     Operation::Start,
     0,
     "StartService failed: . Error code 1056 (An instance of the service is already running.)",
     {},
     {}},
    {"StopNotRunning",
     [](CSimulatedServiceManager&) {},
     Operation::Stop,
     0,
     "StopService failed: . Error code 1062 (The service has not been started.)",
     {},
     {}},
    {"StartRefusedWithoutRights",
     [](CSimulatedServiceManager& m) { m.RefuseRequests(kName, kAccessDenied); },
     Operation::Start,
     0,
     "StartService failed: . Error code 5 (Access is denied.)",
     {},
     {}},
    {"StartStatusUnreadableAfterRequest",
     QueriesDenied,
     Operation::Start,
     0,
     kQueryDenied,
     {kStartPending},
     {}},
    {"StopStatusUnreadableAfterRequest",
     [](CSimulatedServiceManager& m) {
         Running(m);
         QueriesDenied(m);
     },
     Operation::Stop,
     0,
     kQueryDenied,
     {kStopPending},
     {}},
    {"QueryStatusUnreadable", QueriesDenied, Operation::Query, 0, kQueryDenied, {}, {}},
    // The final test uses the status last read; the text carries the failed query's code.
    {"StartStatusUnreadableDuringWait",
     [](CSimulatedServiceManager& m) {
         m.ScriptStart(kName, {StatusOf(kServiceStartPending, 3, 20000)});
         m.FailQueriesAfter(kName, 1, kAccessDenied);
     },
     Operation::Start,
     1,
     "Service not started.\tCurrent state:2\tExit code: 0\tService specific exit code: 0\tCheck "
     "point: 3\tWait hint: 20000. Error code 5 (Access is denied.)",
     {kStartPending},
     {2000}},
    {"StartEndsStoppedWithExitCodes",
     [](CSimulatedServiceManager& m) {
         SServiceStatus failed = StatusOf(kServiceStopped);
         failed.win32ExitCode = kServiceSpecificError;
         failed.serviceSpecificExitCode = 0xFFFFFFFF;
         m.ScriptStart(kName, {StatusOf(kServiceStartPending, 1, 4000), failed});
     },
     Operation::Start,
     1,
     "Service not started.\tCurrent state:1\tExit code: 1066\tService specific exit code: "
     "-1\tCheck point: 0\tWait hint: 0" +
         kDone,
     {kStartPending},
     {1000}},
    {"StopEndsRunning",
     [](CSimulatedServiceManager& m) {
         Running(m);
         m.ScriptStop(kName, {StatusOf(kServiceStopPending, 0, 0), StatusOf(kServiceRunning)});
     },
     Operation::Stop,
     1,
     "Service not stopped.\tCurrent state:4\tExit code: 0\tService specific exit code: 0\tCheck "
     "point: 0\tWait hint: 0" +
         kDone,
     {kStopPending},
     {1000}},
    {"StopWaitsWhileStopPending",
     [](CSimulatedServiceManager& m) {
         Running(m);
         m.ScriptStop(kName, {StatusOf(kServiceStopPending, 1, 30000),
                              StatusOf(kServiceStopPending, 1, 30000), StatusOf(kServiceStopped)});
     },
     Operation::Stop,
     1,
     "",
     {kStopPending, kStopSuccess},
     {3000, 3000}},
    // Each advance of the check point restarts the time-out of a 0 ms hint.
    {"CheckPointAdvanceRestartsTheTimeOut",
     [](CSimulatedServiceManager& m) {
         m.ScriptStart(kName,
                       {StatusOf(kServiceStartPending, 1), StatusOf(kServiceStartPending, 2),
                        StatusOf(kServiceStartPending, 3), StatusOf(kServiceStartPending, 3)});
     },
     Operation::Start,
     1,
     "Service not started.\tCurrent state:2\tExit code: 0\tService specific exit code: 0\tCheck "
     "point: 3\tWait hint: 0" +
         kDone,
     {kStartPending},
     {1000, 1000, 1000}},
    {"CheckPointAdvanceThenRunning",
     [](CSimulatedServiceManager& m) {
         m.ScriptStart(kName, {StatusOf(kServiceStartPending, 1), StatusOf(kServiceStartPending, 2),
                               StatusOf(kServiceRunning)});
     },
     Operation::Start,
     1,
     "",
     {kStartPending, kStartSuccess},
     {1000, 1000}},
    // 500 ms before the counter wraps: the unsigned difference still counts 1,000 per pause.
    {"TickCounterWrapDuringTheWait",
     [](CSimulatedServiceManager& m) {
         m.SetTickCount(0xFFFFFFFFu - 500);
         m.ScriptStart(kName, {StatusOf(kServiceStartPending, 0, 3000)});
     },
     Operation::Start,
     1,
     "Service not started.\tCurrent state:2\tExit code: 0\tService specific exit code: 0\tCheck "
     "point: 0\tWait hint: 3000" +
         kDone,
     {kStartPending},
     {1000, 1000, 1000, 1000}},
};

INSTANTIATE_TEST_SUITE_P(Cases, OutcomeTest, testing::ValuesIn(kOutcomes),
                         [](const testing::TestParamInfo<SOutcomeCase>& info) {
                             return std::string(info.param.label);
                         });

TEST(ServiceControllerTest, EachCallbackReplacesTheLastAndWithoutOneMessagesGoNowhere) {
    CSimulatedServiceManager manager;
    manager.Install(kName, kServiceStopped);
    CServiceController controller(manager);
    EXPECT_EQ(controller.Start(kName), 1);
    EXPECT_EQ(manager.State(kName), kServiceRunning);

    std::vector<std::string> first;
    std::vector<std::string> second;
    controller.SetStatusCallback(Record, &first);
    controller.SetStatusCallback(Record, &second);
    EXPECT_EQ(controller.Stop(kName), 1);
    EXPECT_TRUE(first.empty());
    EXPECT_EQ(second, (std::vector<std::string>{kStopPending, kStopSuccess}));
}

TEST(ServiceControllerTest, OneControllerServesManyOperationsAndEachFailureReplacesTheText) {
    SRig rig;
    rig.manager.Install(kName, kServiceRunning);
    EXPECT_EQ(rig.controller.Start(kName), 0);
    EXPECT_EQ(rig.controller.LastErrorText().rfind("StartService failed: . Error code 1056", 0),
              0u);
    EXPECT_EQ(rig.controller.Stop(kName), 1);
    EXPECT_EQ(rig.controller.QueryState(kName), kServiceStopped);
    EXPECT_EQ(rig.controller.QueryState("Tarvon5"), 0u);
    EXPECT_EQ(rig.controller.LastErrorText(),
              "OpenService failed: . Error code 1060 (The specified service does not exist as an "
              "installed service.)");
    EXPECT_EQ(rig.controller.Start(kName), 1);
    EXPECT_EQ(rig.controller.QueryState(kName), kServiceRunning);
    EXPECT_EQ(rig.messages,
              (std::vector<std::string>{kStopPending, kStopSuccess, kStartPending, kStartSuccess}));
    EXPECT_EQ(rig.manager.OpenHandles(), 0u);
}

TEST(ServiceControllerTest, AnUnknownCodeGivesAnEmptySystemTextAndNegativeCodesPrintSigned) {
    SRig rig;
    rig.manager.Install(kName, kServiceStopped);
    rig.manager.RefuseRequests(kName, 0xE0000001u);
    EXPECT_EQ(rig.controller.Start(kName), 0);
    EXPECT_EQ(rig.controller.LastErrorText(), "StartService failed: . Error code -536870911 ()");
}

} // namespace
