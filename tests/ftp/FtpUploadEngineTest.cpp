// The engine against pyftpdlib: plain FTP, with the server misbehaving on purpose.
#include "ftp/FtpUploadEngine.h"

#include "PyFtpServer.h"
#include "ServerProcess.h"
#include "SilentListener.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

namespace fs = std::filesystem;

namespace {

// The settings a project holds for the server, with the window's initial proxy values.
SFtpSettings SettingsFor(const CPyFtpServer& server) {
    SFtpSettings settings;
    settings.server = server.Address();
    settings.user = CPyFtpServer::kUser;
    settings.password = CPyFtpServer::kPassword;
    settings.useProxy = true; // with no proxy server, as stored projects have it
    return settings;
}

// Proxy variables that lead nowhere: every upload that succeeds shows they were ignored.
class CDeadProxyEnvironment : public testing::Environment {
public:
    void SetUp() override {
        const std::string proxy = "socks5://127.0.0.1:" + std::to_string(m_deadPort);
        ::setenv("all_proxy", proxy.c_str(), 1);
        ::setenv("ftp_proxy", proxy.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("all_proxy");
        ::unsetenv("ftp_proxy");
    }

private:
    uint16_t m_deadPort = CServerProcess::FreePort();
};

const testing::Environment* const kDeadProxy =
    testing::AddGlobalTestEnvironment(new CDeadProxyEnvironment);

class FtpUploadTest : public testing::Test {
protected:
    // A local file of the given size; its content differs from every other one made.
    std::string MakeLocalFile(const std::string& name, size_t size) {
        const std::string path = m_local / name;
        WriteFileBytes(path, PatternBytes(size, ++m_seed));
        return path;
    }

    CTempFolder m_local;
    unsigned m_seed = 0;
};

struct SSuccessCase {
    const char* label;
    bool passive;
    size_t size;
    const char* remotePath; // as the server sees it
    const char* existing;   // a file already at the real name, to be replaced; null: none
    bool noRenameOver;      // the server refuses renames onto an existing file
};

// Names the row in test listings.
void PrintTo(const SSuccessCase& row, std::ostream* out) {
    *out << row.label;
}

const SSuccessCase kSuccessCases[] = {
    {"Passive", true, 1 << 20, "/up/a.bin", nullptr, false},
    {"Active", false, 1 << 20, "/up/a.bin", nullptr, false},
    {"EmptyFile", true, 0, "/up/empty.txt", nullptr, false},
    {"FromLoginFolder", true, 5000, "up/b.bin", nullptr, false},
    {"AwkwardName", true, 5000, "/up/my file #1%.txt", nullptr, false},
    {"ReplacesExisting", true, 70000, "/up/a.bin", "old content", false},
    {"DeletesThenRenames", true, 70000, "/up/a.bin", "old content", true},
};

class FtpUploadSuccessTest : public FtpUploadTest,
                             public testing::WithParamInterface<SSuccessCase> {};

TEST_P(FtpUploadSuccessTest, ServerHoldsTheWholeFileUnderItsRealNameOnly) {
    const SSuccessCase& row = GetParam();
    SPyFtpOptions options;
    options.noRenameOver = row.noRenameOver;
    CPyFtpServer server(options);
    fs::create_directory(server.Root() + "/up");
    const std::string target = server.Root() + "/" + row.remotePath;
    if (row.existing != nullptr) {
        WriteFileBytes(target, row.existing);
    }
    const std::string local = MakeLocalFile("file.bin", row.size);
    SFtpSettings settings = SettingsFor(server);
    settings.passive = row.passive;

    std::vector<uint64_t> reported;
    CFtpUploadEngine engine;
    const SFtpResult result =
        engine.Upload(settings, local, row.remotePath, [&](uint64_t sent, uint64_t total) {
            EXPECT_EQ(total, row.size);
            reported.push_back(sent);
        });

    ASSERT_TRUE(result.ok) << result.Describe();
    EXPECT_EQ(result.step, EFtpStep::None);
    EXPECT_EQ(result.bytes, row.size);
    EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(local));
    const fs::path folder = fs::path(target).parent_path();
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{fs::path(target).filename()});
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
    if (row.size != 0) {
        ASSERT_FALSE(reported.empty());
        EXPECT_EQ(reported.back(), row.size);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, FtpUploadSuccessTest, testing::ValuesIn(kSuccessCases),
                         [](const auto& info) { return std::string(info.param.label); });

struct SFailureCase {
    const char* label;
    void (*adjust)(SFtpSettings& settings, uint16_t unusedPort);
    const char* localName; // under the local folder: "file.bin" exists, "folder" is a folder
    const char* remotePath;
    EFtpStep step;
    const char* reason; // part of the reason
};

// Names the row in test listings.
void PrintTo(const SFailureCase& row, std::ostream* out) {
    *out << row.label;
}

void Unchanged(SFtpSettings&, uint16_t) {
}

const SFailureCase kFailureCases[] = {
    {"WrongPassword", [](SFtpSettings& s, uint16_t) { s.password = "wrong"; }, "file.bin", "/a.bin",
     EFtpStep::Login, "530"},
    {"AnonymousRefused", [](SFtpSettings& s, uint16_t) { s.user.clear(); }, "file.bin", "/a.bin",
     EFtpStep::Login, "530"},
    {"ServerDown",
     [](SFtpSettings& s, uint16_t port) { s.server = "127.0.0.1:" + std::to_string(port); },
     "file.bin", "/a.bin", EFtpStep::Connect, "Couldn't connect"},
    {"ExplicitProxyDown",
     [](SFtpSettings& s, uint16_t port) { s.proxyServer = "127.0.0.1:" + std::to_string(port); },
     "file.bin", "/a.bin", EFtpStep::Connect, "Couldn't connect"},
    {"SystemProxyDown", [](SFtpSettings& s, uint16_t) { s.systemProxy = true; }, "file.bin",
     "/a.bin", EFtpStep::Connect, "Couldn't connect"},
    {"TlsRequiredButNotOffered",
     [](SFtpSettings& s, uint16_t) { s.server = "ftpes://" + s.server; }, "file.bin", "/a.bin",
     EFtpStep::Tls, "SSL"},
    {"FolderMissing", Unchanged, "file.bin", "/missing/a.bin", EFtpStep::Folder, "550"},
    {"FolderReadOnly", Unchanged, "file.bin", "/readonly/a.bin", EFtpStep::Folder, "550"},
    {"LocalFileMissing", Unchanged, "missing.bin", "/a.bin", EFtpStep::LocalFile,
     "No such file or directory"},
    {"LocalFileIsAFolder", Unchanged, "folder", "/a.bin", EFtpStep::LocalFile, "is a folder"},
    {"RemotePathWithoutName", Unchanged, "file.bin", "/readonly/", EFtpStep::Settings,
     "names no file"},
    {"ServerFieldUnusable", [](SFtpSettings& s, uint16_t) { s.server = "http://host"; }, "file.bin",
     "/a.bin", EFtpStep::Settings, "unknown protocol"},
};

class FtpUploadFailureTest : public FtpUploadTest,
                             public testing::WithParamInterface<SFailureCase> {};

TEST_P(FtpUploadFailureTest, SaysWhereAndWhyAndLeavesNothingBehind) {
    const SFailureCase& row = GetParam();
    SPyFtpOptions options;
    options.readOnlyFolder = "readonly";
    CPyFtpServer server(options);
    MakeLocalFile("file.bin", 3000);
    fs::create_directory(m_local / "folder");
    SFtpSettings settings = SettingsFor(server);
    row.adjust(settings, CServerProcess::FreePort());

    CFtpUploadEngine engine;
    const SFtpResult result = engine.Upload(settings, m_local / row.localName, row.remotePath);

    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.step, row.step) << result.Describe();
    EXPECT_NE(result.reason.find(row.reason), std::string::npos) << result.Describe();
    EXPECT_EQ(result.bytes, 0u);
    EXPECT_EQ(FolderEntries(server.Root()), std::vector<std::string>{"readonly"});
    EXPECT_TRUE(FolderEntries(server.Root() + "/readonly").empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, FtpUploadFailureTest, testing::ValuesIn(kFailureCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(FtpUploadTest, ServerThatNeverAnswersTimesOutAtConnect) {
    CSilentListener silent;
    SFtpSettings settings;
    settings.server = "127.0.0.1:" + std::to_string(silent.Port());
    settings.timeoutMs = 300;
    CFtpUploadEngine engine;
    const SFtpResult result = engine.Upload(settings, MakeLocalFile("a.bin", 10), "/a.bin");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.step, EFtpStep::Connect) << result.Describe();
    EXPECT_NE(result.reason.find("timed out"), std::string::npos) << result.Describe();
}

// Waits until an upload has sent at least a given number of bytes.
class CProgressGate {
public:
    explicit CProgressGate(uint64_t bytes) : m_bytes(bytes) {}

    void Report(uint64_t sent) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sent = sent;
        m_changed.notify_all();
    }
    void WaitForBytes() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_sent >= m_bytes; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    uint64_t m_bytes;
    uint64_t m_sent = 0;
};

TEST_F(FtpUploadTest, CancelStopsTheTransferAndKeepsTheOldFile) {
    SPyFtpOptions options;
    options.throttleBytesPerSecond = 64 * 1024;
    CPyFtpServer server(options);
    WriteFileBytes(server.Root() + "/a.bin", "old content");
    const std::string local = MakeLocalFile("a.bin", 4 << 20);
    CProgressGate gate(100 * 1024);
    CFtpUploadEngine engine;
    SFtpResult result;
    std::thread upload([&] {
        result = engine.Upload(SettingsFor(server), local, "/a.bin",
                               [&](uint64_t sent, uint64_t) { gate.Report(sent); });
    });
    gate.WaitForBytes();
    engine.Cancel();
    upload.join();

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.Describe(), "transfer: cancelled");
    EXPECT_EQ(FolderEntries(server.Root()), std::vector<std::string>{"a.bin"});
    EXPECT_EQ(ReadFileBytes(server.Root() + "/a.bin"), "old content");

    const SFtpResult next =
        engine.Upload(SettingsFor(server), MakeLocalFile("b.bin", 10), "/b.bin");
    EXPECT_TRUE(next.ok) << "a cancel stops one upload only: " << next.Describe();
}

TEST_F(FtpUploadTest, ACancelJustBeforeAnUploadStopsThatUploadOnly) {
    CPyFtpServer server;
    CFtpUploadEngine engine;
    engine.Cancel();
    const SFtpResult cancelled =
        engine.Upload(SettingsFor(server), MakeLocalFile("a.bin", 5000), "/a.bin");
    EXPECT_TRUE(cancelled.cancelled) << cancelled.Describe();
    EXPECT_TRUE(FolderEntries(server.Root()).empty());
    const SFtpResult next =
        engine.Upload(SettingsFor(server), MakeLocalFile("b.bin", 10), "/b.bin");
    EXPECT_TRUE(next.ok) << next.Describe();
}

struct SBreakOffCase {
    const char* label;
    SPyFtpOptions options;
    const char* reason;
};

// Names the row in test listings.
void PrintTo(const SBreakOffCase& row, std::ostream* out) {
    *out << row.label;
}

const SBreakOffCase kBreakOffCases[] = {
    {"ServerDropsTheConnection", {0, 256 * 1024, 0, false, false, ""}, ""},
    {"ServerStopsReading",
     {0, 0, 256 * 1024, false, false, ""},
     "no data went through for 1000 ms"},
    {"ServerKeepsLessThanSent", {0, 0, 0, true, false, ""}, "the server holds 67108863 of the"},
};

class FtpUploadBreakOffTest : public FtpUploadTest,
                              public testing::WithParamInterface<SBreakOffCase> {};

TEST_P(FtpUploadBreakOffTest, FailsInTheTransferAndKeepsTheOldFile) {
    const SBreakOffCase& row = GetParam();
    CPyFtpServer server(row.options);
    WriteFileBytes(server.Root() + "/a.bin", "old content");
    SFtpSettings settings = SettingsFor(server);
    settings.timeoutMs = 1000; // the longest a transfer may stall
    CFtpUploadEngine engine;
    // Larger than what the loopback's socket buffers take in while the server stalls.
    const SFtpResult result = engine.Upload(settings, MakeLocalFile("a.bin", 64 << 20), "/a.bin");

    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.step, EFtpStep::Transfer) << result.Describe();
    EXPECT_NE(result.reason.find(row.reason), std::string::npos) << result.Describe();
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(FolderEntries(server.Root()), std::vector<std::string>{"a.bin"});
    EXPECT_EQ(ReadFileBytes(server.Root() + "/a.bin"), "old content");
}

INSTANTIATE_TEST_SUITE_P(Rows, FtpUploadBreakOffTest, testing::ValuesIn(kBreakOffCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(FtpUploadTest, FiveHundredFilesShareOneLogin) {
    CPyFtpServer server;
    fs::create_directory(server.Root() + "/up");
    const SFtpSettings settings = SettingsFor(server);
    CFtpUploadEngine engine;
    std::vector<std::string> expected;
    for (int i = 0; i < 500; ++i) {
        const std::string name = "f" + std::to_string(i) + ".bin";
        const SFtpResult result = engine.Upload(settings, MakeLocalFile(name, 4096), "/up/" + name);
        ASSERT_TRUE(result.ok) << name << ": " << result.Describe();
        expected.push_back(name);
    }
    EXPECT_EQ(server.Logins(), 1);
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(FolderEntries(server.Root() + "/up"), expected);
    for (const std::string& name : expected) {
        EXPECT_EQ(ReadFileBytes(server.Root() + "/up/" + name), ReadFileBytes(m_local / name));
    }
}

TEST_F(FtpUploadTest, OtherCredentialsAreNotServedByTheOpenLogin) {
    CPyFtpServer server;
    SFtpSettings settings = SettingsFor(server);
    CFtpUploadEngine engine;
    ASSERT_TRUE(engine.Upload(settings, MakeLocalFile("a.bin", 10), "/a.bin").ok);
    settings.password = "wrong";
    const SFtpResult refused = engine.Upload(settings, MakeLocalFile("b.bin", 10), "/b.bin");
    EXPECT_EQ(refused.step, EFtpStep::Login) << refused.Describe();
    settings.password = CPyFtpServer::kPassword;
    ASSERT_TRUE(engine.Upload(settings, MakeLocalFile("c.bin", 10), "/c.bin").ok);
    EXPECT_EQ(FolderEntries(server.Root()), (std::vector<std::string>{"a.bin", "c.bin"}));
}

} // namespace
