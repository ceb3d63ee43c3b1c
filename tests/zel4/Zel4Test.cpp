#include "zel4/zel4.h"

#include "ServiceListener.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Reply = CServiceListener::Reply;
using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(Zel4Tarvon, HandsTheUrlOverExactly) {
    const char* const urls[] = {"http://www.example.com/zelupdates/check.txt",
                                "http://host/a path with blanks/c:\\temp\\",
                                "http://h\xc3\xa9te/\xe2\x82\xac?q=1&r=%20", ""};
    for (const char* url : urls) {
        CServiceListener service(Reply::HangUp);
        CSocketOverride address(service.Address());
        EXPECT_EQ(Tarvon(url), 1) << url;
        EXPECT_EQ(service.Request(), "TARVON " + std::string(url) + "\n");
    }
}

TEST(Zel4Tarvon, ReturnsAtOnceWithoutWaitingForAnAnswer) {
    CServiceListener service(Reply::Silence);
    CSocketOverride address(service.Address());
    EXPECT_EQ(Tarvon("http://host/script.txt"), 1);
    EXPECT_EQ(service.Request(), "TARVON http://host/script.txt\n");
}

TEST(Zel4Tarvon, ReturnsAtOnceWhenNoServiceListens) {
    CSocketOverride missing(CServiceListener::UnusedAddress());
    EXPECT_EQ(Tarvon("http://host/script.txt"), 0);
    EXPECT_EQ(TarvonWait("http://host/script.txt", 60000), 0);
}

TEST(Zel4Tarvon, LeavesAFileAtTheAddressAlone) {
    CTempFolder folder;
    const std::string path = folder / "not-a-service";
    WriteFileBytes(path, "keep");
    CSocketOverride address(path);
    EXPECT_EQ(Tarvon("http://host/script.txt"), 0);
    EXPECT_EQ(TarvonWait("http://host/script.txt", 200), 0);
    EXPECT_EQ(ReadFileBytes(path), "keep");
}

TEST(Zel4Tarvon, RefusesUrlsThatWouldBreakTheOneLineRequest) {
    for (const char* url : {"http://host/\nTARVON http://evil/", "http://host/\r"}) {
        CServiceListener service(Reply::HangUp, "DONE", 300);
        CSocketOverride address(service.Address());
        EXPECT_EQ(Tarvon(url), 0);
        EXPECT_EQ(TarvonWait(url, 200), 0);
        EXPECT_EQ(service.Request(), std::nullopt) << "nothing may reach the service";
    }
}

TEST(Zel4Tarvon, TreatsANullUrlAsEmpty) {
    CServiceListener service(Reply::HangUp);
    CSocketOverride address(service.Address());
    EXPECT_EQ(Tarvon(nullptr), 1);
    EXPECT_EQ(service.Request(), "TARVON \n");
}

TEST(Zel4Tarvon, ReachesNoServiceThroughAnOverlongAddress) {
    CSocketOverride address(CServiceListener::UnusedAddress() + std::string(300, 'x'));
    EXPECT_EQ(Tarvon("http://host/"), 0);
}

TEST(Zel4TarvonWait, ReturnsWhenTheServiceAnswers) {
    CServiceListener service(Reply::Answer, "DONE 0");
    CSocketOverride address(service.Address());
    EXPECT_EQ(TarvonWait("http://host/script.txt", 120000), 1);
    EXPECT_EQ(service.Request(), "TARVONWAIT http://host/script.txt\n");
}

TEST(Zel4TarvonWait, GivesUpAtTheTimeoutWhenTheServiceNeverAnswers) {
    CServiceListener service(Reply::Silence);
    CSocketOverride address(service.Address());
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(TarvonWait("http://host/slow.txt", 200), 0);
    EXPECT_GE(MillisecondsSince(start), 190) << "it must wait for the answer until the timeout";
    // The client hung up at the timeout, which is what lets the silent service finish.
    EXPECT_EQ(service.Request(), "TARVONWAIT http://host/slow.txt\n");
}

TEST(Zel4TarvonWait, GivesUpAtTheTimeoutWhenTheServiceNeverEndsItsLine) {
    CServiceListener service(Reply::Chatter);
    CSocketOverride address(service.Address());
    EXPECT_EQ(TarvonWait("http://host/chatty.txt", 200), 0);
    EXPECT_EQ(service.Request(), "TARVONWAIT http://host/chatty.txt\n");
}

TEST(Zel4TarvonWait, ReturnsWhenTheServiceHangsUpWithoutAnswer) {
    CServiceListener service(Reply::HangUp);
    CSocketOverride address(service.Address());
    EXPECT_EQ(TarvonWait("http://host/script.txt", 120000), 0);
    EXPECT_EQ(service.Request(), "TARVONWAIT http://host/script.txt\n");
}

TEST(Zel4TarvonWait, ReturnsAfterSendingWhenTheTimeoutIsNotPositive) {
    CServiceListener service(Reply::Silence);
    CSocketOverride address(service.Address());
    EXPECT_EQ(TarvonWait("http://host/script.txt", 0), 0);
    EXPECT_EQ(service.Request(), "TARVONWAIT http://host/script.txt\n");
}

} // namespace
