#include "cli/ServiceCommand.h"
#include "CliRun.h"
#include "SimulatedServiceManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

namespace {

const std::string kUnknown = "OpenService failed: . Error code 1060 (The specified service does "
                             "not exist as an installed service.)\n";

// One run of the service command and what it printed.
struct SServiceCase {
    const char* label;
    uint32_t initialState;
    std::function<void(CSimulatedServiceManager&)> setUp;
    const char* action;
    const char* name;
    int status;
    std::string out;
    std::string err;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const SServiceCase& row, std::ostream* os) {
    *os << row.label;
}

class ServiceCommandTest : public testing::TestWithParam<SServiceCase> {};

TEST_P(ServiceCommandTest, PrintsProgressAndStateAndTellsFailures) {
    const SServiceCase& row = GetParam();
    CSimulatedServiceManager manager;
    manager.Install(kDefaultServiceName, row.initialState);
    row.setUp(manager);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunService(row.action, row.name, manager, out, err), row.status);
    EXPECT_EQ(out.str(), row.out);
    EXPECT_EQ(err.str(), row.err);
}

void Nothing(CSimulatedServiceManager&) {
}

const SServiceCase kCases[] = {
    {"QueryRunning", kServiceRunning, Nothing, "query", "Tarvon4", 0, "4 running\n", ""},
    {"QueryStopped", kServiceStopped, Nothing, "query", "Tarvon4", 0, "1 stopped\n", ""},
    {"QueryPaused", kServicePaused, Nothing, "query", "Tarvon4", 0, "7 paused\n", ""},
    {"QueryUnknown", kServiceRunning, Nothing, "query", "Other", 1, "", kUnknown},
    {"Start", kServiceStopped, Nothing, "start", "Tarvon4", 0,
     "Service start pending.\nStartService SUCCESS.\n4 running\n", ""},
    // Already in the requested state: the refusal is told, the outcome is what was asked.
    {"StartRunning", kServiceRunning, Nothing, "start", "Tarvon4", 0, "4 running\n",
     "StartService failed: . Error code 1056 (An instance of the service is already running.)\n"},
    {"StartFails", kServiceStopped,
     [](CSimulatedServiceManager& m) {
         SServiceStatus failed = StatusOf(kServiceStopped);
         failed.win32ExitCode = 1066;
         failed.serviceSpecificExitCode = 3;
         m.ScriptStart("Tarvon4", {StatusOf(kServiceStartPending), failed});
     },
     "start", "Tarvon4", 1, "Service start pending.\n1 stopped\n",
     "Service not started.\tCurrent state:1\tExit code: 1066\tService specific exit code: "
     "3\tCheck point: 0\tWait hint: 0. Error code 0 (The operation completed successfully.)\n"},
    {"StartUnknown", kServiceStopped, Nothing, "start", "Other", 1, "", kUnknown},
    {"Stop", kServiceRunning, Nothing, "stop", "Tarvon4", 0,
     "Service stop pending.\nStopService SUCCESS.\n1 stopped\n", ""},
    {"StopDenied", kServiceRunning,
     [](CSimulatedServiceManager& m) { m.RefuseRequests("Tarvon4", 5); }, "stop", "Tarvon4", 1,
     "4 running\n", "StopService failed: . Error code 5 (Access is denied.)\n"},
    {"OtherAction", kServiceRunning, Nothing, "restart", "Tarvon4", 2, "",
     "tarvonscp-cli: service needs query, start or stop, not 'restart'\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ServiceCommandTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SServiceCase>& info) {
                             return std::string(info.param.label);
                         });

TEST(ServiceCommandLineTest, WrongCommandLinesAreUsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"service"}, {"service", "restart"}, {"service", "query", "a", "b"}}) {
        const SCliResult result = RunCli(args);
        EXPECT_EQ(result.status, 2) << args.size();
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("tarvonscp-cli service query|start|stop [NAME]"),
                  std::string::npos);
    }
}

// The built companion on Linux, with no system bus where the variable points.
TEST(ServiceCommandLineTest, WithoutAServiceManagerEveryActionFailsWithItsText) {
    const char* saved = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    const std::string previous = saved != nullptr ? saved : "";
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/brevane-bus", 1);
    const std::string unavailable =
        "OpenService failed: . Error code 1722 (The RPC server is unavailable.)\n";
    const SCliResult query = RunCli({"service", "query"});
    const SCliResult start = RunCli({"service", "start", "Other"});
    if (saved != nullptr)
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", previous.c_str(), 1);
    else
        ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    EXPECT_EQ(query.status, 1);
    EXPECT_EQ(query.out, "");
    EXPECT_EQ(query.err, unavailable);
    EXPECT_EQ(start.status, 1);
    EXPECT_EQ(start.err, unavailable);
}

} // namespace
