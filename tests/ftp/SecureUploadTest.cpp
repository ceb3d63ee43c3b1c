// The engine over TLS (vsftpd) and SSH (sshd): trust is checked, and given only as asked.
#include "ftp/FtpUploadEngine.h"

#include "SshServer.h"
#include "TempFolder.h"
#include "TestCertificates.h"
#include "VsftpdServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace {

struct STlsCase {
    const char* label;
    bool implicitTls;
    bool trustTheAuthority;
    bool passive;
};

// Names the row in test listings.
void PrintTo(const STlsCase& row, std::ostream* out) {
    *out << row.label;
}

const STlsCase kTlsCases[] = {
    {"ExplicitTrusted", false, true, true},        {"ExplicitUntrusted", false, false, true},
    {"ImplicitTrusted", true, true, true},         {"ImplicitUntrusted", true, false, true},
    {"ExplicitTrustedActive", false, true, false},
};

class FtpsUploadTest : public testing::TestWithParam<STlsCase> {};

TEST_P(FtpsUploadTest, UploadsOnlyWhenTheCertificateIsTrusted) {
    const std::string unavailable = CVsftpdServer::Unavailable();
    if (!unavailable.empty()) {
        GTEST_SKIP() << unavailable;
    }
    const STlsCase& row = GetParam();
    CTestCertificates certificates;
    CVsftpdServer server(certificates, row.implicitTls);
    CTempFolder local;
    WriteFileBytes(local / "a.bin", PatternBytes(300000, 1));
    SFtpSettings settings;
    settings.server = server.Address(); // no user name: anonymous
    settings.passive = row.passive;
    if (row.trustTheAuthority) {
        settings.caFile = certificates.CaFile();
    }

    CFtpUploadEngine engine;
    const SFtpResult result = engine.Upload(settings, local / "a.bin", "upload/a.bin");

    if (!row.passive && !CFtpUploadEngine::ActiveModeOverTlsWorks()) {
        EXPECT_EQ(result.step, EFtpStep::Settings) << result.Describe();
        EXPECT_NE(result.reason.find("use passive mode (PASV)"), std::string::npos);
        EXPECT_TRUE(FolderEntries(server.UploadFolder()).empty());
    } else if (row.trustTheAuthority) {
        ASSERT_TRUE(result.ok) << result.Describe();
        EXPECT_EQ(ReadFileBytes(server.UploadFolder() + "/a.bin"), ReadFileBytes(local / "a.bin"));
        EXPECT_EQ(FolderEntries(server.UploadFolder()), std::vector<std::string>{"a.bin"});
    } else {
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.step, EFtpStep::Tls) << result.Describe();
        EXPECT_NE(result.reason.find("the certificate of 127.0.0.1 cannot be verified"),
                  std::string::npos)
            << result.Describe();
        EXPECT_TRUE(FolderEntries(server.UploadFolder()).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, FtpsUploadTest, testing::ValuesIn(kTlsCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(FtpsConnectionTest, AConnectionTheServerClosedWhileIdleIsReplaced) {
    const std::string unavailable = CVsftpdServer::Unavailable();
    if (!unavailable.empty()) {
        GTEST_SKIP() << unavailable;
    }
    CTestCertificates certificates;
    CVsftpdServer server(certificates, false, 1);
    CTempFolder local;
    WriteFileBytes(local / "a.bin", "first");
    WriteFileBytes(local / "b.bin", "second");
    SFtpSettings settings;
    settings.server = server.Address();
    settings.caFile = certificates.CaFile();
    CFtpUploadEngine engine;
    ASSERT_TRUE(engine.Upload(settings, local / "a.bin", "upload/a.bin").ok);
    std::this_thread::sleep_for(std::chrono::seconds(2)); // past the server's idle time-out

    const SFtpResult second = engine.Upload(settings, local / "b.bin", "upload/b.bin");

    ASSERT_TRUE(second.ok) << second.Describe();
    EXPECT_EQ(ReadFileBytes(server.UploadFolder() + "/b.bin"), "second");
    EXPECT_EQ(FolderEntries(server.UploadFolder()), (std::vector<std::string>{"a.bin", "b.bin"}));
}

enum class EKnownHosts { Lists, Empty, Changed, Absent };

struct SSftpCase {
    const char* label;
    EKnownHosts knownHosts;
    bool trustTheFingerprint;
    const char* password;
    const char* folder; // under the server's upload folder; "" for itself
    EFtpStep step;      // EFtpStep::None: the upload succeeds
    const char* reason;
};

// Names the row in test listings.
void PrintTo(const SSftpCase& row, std::ostream* out) {
    *out << row.label;
}

const SSftpCase kSftpCases[] = {
    {"KnownKey", EKnownHosts::Lists, false, CSshServer::kPassword, "", EFtpStep::None, ""},
    {"TrustedFingerprint", EKnownHosts::Empty, true, CSshServer::kPassword, "", EFtpStep::None, ""},
    {"UnknownKey", EKnownHosts::Empty, false, CSshServer::kPassword, "", EFtpStep::HostKey,
     "is not known"},
    {"NoKnownHostsFile", EKnownHosts::Absent, false, CSshServer::kPassword, "", EFtpStep::HostKey,
     "is not known"},
    {"ChangedKey", EKnownHosts::Changed, false, CSshServer::kPassword, "", EFtpStep::HostKey,
     "is not the one"},
    {"WrongPassword", EKnownHosts::Lists, false, "wrong", "", EFtpStep::Login, ""},
    {"FolderMissing", EKnownHosts::Lists, false, CSshServer::kPassword, "missing/",
     EFtpStep::Folder, ""},
};

class SftpUploadTest : public testing::TestWithParam<SSftpCase> {};

TEST_P(SftpUploadTest, ChecksTheHostKeyAndReplacesTheFile) {
    const std::string unavailable = CSshServer::Unavailable();
    if (!unavailable.empty()) {
        GTEST_SKIP() << unavailable;
    }
    const SSftpCase& row = GetParam();
    CSshServer server;
    CTempFolder local;
    WriteFileBytes(local / "a.bin", PatternBytes(200000, 2));
    const std::string target = server.UploadFolder() + "/a.bin";
    WriteFileBytes(target, "old content"); // SFTP servers refuse to rename over it
    const std::string knownHosts = local / "known_hosts";
    if (row.knownHosts != EKnownHosts::Absent) {
        WriteFileBytes(knownHosts, row.knownHosts == EKnownHosts::Lists ? server.KnownHostsLine()
                                   : row.knownHosts == EKnownHosts::Changed
                                       ? server.ChangedKnownHostsLine()
                                       : "");
    }
    SFtpSettings settings;
    settings.server = server.Address();
    settings.user = CSshServer::kUser;
    settings.password = row.password;
    settings.knownHostsPath = knownHosts;
    if (row.trustTheFingerprint) {
        settings.trustedHostKey = server.Fingerprint();
    }

    CFtpUploadEngine engine;
    const SFtpResult result = engine.Upload(settings, local / "a.bin",
                                            server.UploadFolder() + "/" + row.folder + "a.bin");

    EXPECT_EQ(FolderEntries(server.UploadFolder()), std::vector<std::string>{"a.bin"});
    if (row.step == EFtpStep::None) {
        ASSERT_TRUE(result.ok) << result.Describe();
        EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(local / "a.bin"));
        return;
    }
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.step, row.step) << result.Describe();
    EXPECT_NE(result.reason.find(row.reason), std::string::npos) << result.Describe();
    if (row.step == EFtpStep::HostKey) {
        EXPECT_NE(result.reason.find(server.Fingerprint()), std::string::npos) << result.Describe();
        EXPECT_EQ(result.offeredHostKey, server.Fingerprint());
    } else {
        EXPECT_EQ(result.offeredHostKey, "");
    }
    EXPECT_EQ(ReadFileBytes(target), "old content");
}

INSTANTIATE_TEST_SUITE_P(Rows, SftpUploadTest, testing::ValuesIn(kSftpCases),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
