#include "service/SystemdServiceManager.h"
#include "PauseRecordingManager.h"
#include "SystemdStandIn.h"
#include "service/ServiceController.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kDone = ". Error code 0 (The operation completed successfully.)";

// One stand-in for the suite; each test works on units of its own.
class SystemdServiceManagerTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        SStandInUnit failing("Failing.service");
        failing.failExit = 3;
        SStandInUnit denied("Denied.service");
        denied.deny = true;
        SStandInUnit asks("Asks.service", "inactive", 100);
        asks.asks = true;
        SStandInUnit quick("Quick.service", "inactive", 5000);
        quick.timeoutStartSeconds = 5;
        s_standIn = new CSystemdStandIn({{"Tarvon4.service", "active"},
                                         {"Stopped.service", "inactive"},
                                         {"Broken.service", "failed"},
                                         {"Starts.service", "inactive", 600},
                                         {"Stops.service", "active", 300},
                                         failing,
                                         denied,
                                         asks,
                                         quick});
    }
    static void TearDownTestSuite() {
        delete s_standIn;
        s_standIn = nullptr;
    }

    CServiceController& Controller() {
        m_controller.SetStatusCallback(CPauseRecordingManager::RecordMessage, &m_messages);
        return m_controller;
    }

    static CSystemdStandIn* s_standIn;
    CPauseRecordingManager m_manager;
    CServiceController m_controller{m_manager};
    std::vector<std::string> m_messages;
};

CSystemdStandIn* SystemdServiceManagerTest::s_standIn = nullptr;

TEST_F(SystemdServiceManagerTest, StatesMapAsWindowsReportsThem) {
    EXPECT_EQ(Controller().QueryState("Tarvon4"), 4u);
    EXPECT_EQ(Controller().QueryState("Stopped"), 1u);
    EXPECT_EQ(Controller().QueryState("Broken"), 1u);
    EXPECT_EQ(Controller().LastErrorText(), "");
    EXPECT_EQ(Controller().QueryState("Missing"), 0u);
    EXPECT_EQ(Controller().LastErrorText(),
              "OpenService failed: . Error code 1060 (The specified service does not exist as an "
              "installed service.)");
}

TEST_F(SystemdServiceManagerTest, AStartThatEndsAfter600MsEndsTheWaitAfterOneSecondsPause) {
    EXPECT_EQ(Controller().Start("Starts"), 1);
    EXPECT_EQ(m_messages,
              (std::vector<std::string>{"Service start pending.", "StartService SUCCESS."}));
    EXPECT_EQ(m_manager.Pauses(), std::vector<uint32_t>{1000});
    EXPECT_EQ(Controller().QueryState("Starts"), 4u);
}

TEST_F(SystemdServiceManagerTest, AStopWaitsUntilTheUnitIsInactive) {
    EXPECT_EQ(Controller().Stop("Stops"), 1);
    EXPECT_EQ(m_messages,
              (std::vector<std::string>{"Service stop pending.", "StopService SUCCESS."}));
    EXPECT_EQ(Controller().QueryState("Stops"), 1u);
}

TEST_F(SystemdServiceManagerTest, RequestsSystemdWouldTakeAreRefusedAsWindowsRefusesThem) {
    EXPECT_EQ(Controller().Start("Tarvon4"), 0);
    EXPECT_EQ(Controller().LastErrorText(),
              "StartService failed: . Error code 1056 (An instance of the service is already "
              "running.)");
    EXPECT_EQ(Controller().Stop("Stopped"), 0);
    EXPECT_EQ(Controller().LastErrorText(),
              "StopService failed: . Error code 1062 (The service has not been started.)");
    EXPECT_EQ(Controller().Start("Denied"), 0);
    EXPECT_EQ(Controller().LastErrorText(),
              "StartService failed: . Error code 5 (Access is denied.)");
    EXPECT_TRUE(m_messages.empty());
}

// A unit whose start needs a password: the request lets the system ask for it.
TEST_F(SystemdServiceManagerTest, StartAndStopAllowTheSystemToAskForAPassword) {
    EXPECT_EQ(Controller().Start("Asks"), 1);
    EXPECT_EQ(Controller().LastErrorText(), "");
    EXPECT_EQ(Controller().Stop("Asks"), 1);
    EXPECT_EQ(Controller().LastErrorText(), "");
    EXPECT_EQ(m_messages,
              (std::vector<std::string>{"Service start pending.", "StartService SUCCESS.",
                                        "Service stop pending.", "StopService SUCCESS."}));
}

TEST_F(SystemdServiceManagerTest, AFailedStartReportsTheMainProcessExitStatus) {
    EXPECT_EQ(Controller().Start("Failing"), 1);
    EXPECT_EQ(m_messages, std::vector<std::string>{"Service start pending."});
    EXPECT_EQ(Controller().LastErrorText(),
              "Service not started.\tCurrent state:1\tExit code: 1066\tService specific exit "
              "code: 3\tCheck point: 0\tWait hint: 0" +
                  kDone);
}

TEST_F(SystemdServiceManagerTest, WhileAJobRunsTheCheckPointAdvancesUnderTheUnitsTimeout) {
    CSystemdServiceManager manager;
    const ServiceHandle scm = manager.OpenManager("", CServiceController::kFullAccess);
    ASSERT_NE(scm, nullptr);
    const ServiceHandle service =
        manager.OpenServiceByName(scm, "Quick", CServiceController::kFullAccess);
    ASSERT_NE(service, nullptr);
    ASSERT_TRUE(manager.RequestStart(service));
    SServiceStatus first;
    SServiceStatus second;
    ASSERT_TRUE(manager.QueryServiceStatus(service, first));
    ASSERT_TRUE(manager.QueryServiceStatus(service, second));
    EXPECT_EQ(first.currentState, 2u);
    EXPECT_EQ(first.waitHint, 5000u);
    EXPECT_EQ(first.serviceType, 0x10u);
    EXPECT_EQ(second.currentState, 2u);
    EXPECT_GT(second.checkPoint, first.checkPoint);
    manager.CloseServiceHandle(service);
    manager.CloseServiceHandle(scm);
}

TEST(SystemdWithoutBusTest, NoBusIsAnUnavailableManager) {
    const char* saved = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    const std::string previous = saved != nullptr ? saved : "";
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/brevane-bus", 1);
    CSystemdServiceManager manager;
    CServiceController controller(manager);
    EXPECT_EQ(controller.QueryState("Tarvon4"), 0u);
    EXPECT_EQ(controller.LastErrorText(),
              "OpenService failed: . Error code 1722 (The RPC server is unavailable.)");
    if (saved != nullptr)
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", previous.c_str(), 1);
    else
        ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
}

} // namespace
