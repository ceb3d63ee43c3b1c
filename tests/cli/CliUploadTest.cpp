// tarvonscp-cli upload against real servers on 127.0.0.1.
#include "CliRun.h"

#include "PyFtpServer.h"
#include "SshServer.h"
#include "TestCertificates.h"
#include "VsftpdServer.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

class CliUploadTest : public testing::Test {
protected:
    // A project for the plain test server with the listed local files, as given.
    SProject ProjectFor(const CPyFtpServer& server, std::vector<std::string> files) const {
        SProject project;
        project.ftpServer = server.Address();
        project.username = CPyFtpServer::kUser;
        project.password = CPyFtpServer::kPassword;
        project.pasv = true;
        project.serverFolder = "/up/";
        project.files = std::move(files);
        return project;
    }

    std::string WriteProject(const SProject& project) const {
        const std::string path = folder / "project.xml";
        WriteFileBytes(path, ProjectFile::Save(project));
        return path;
    }

    // Three local files listed out of order; the one sorted second is missing.
    std::vector<std::string> ThreeFilesSecondMissing() const {
        WriteFileBytes(folder / "A.bin", PatternBytes(1000, 1));
        WriteFileBytes(folder / "c.bin", PatternBytes(3000, 3));
        return {folder / "c.bin", folder / "b.bin", folder / "A.bin"};
    }

    CTempFolder folder;
};

TEST_F(CliUploadTest, AttemptsEveryFileInListOrderAndExitsWithOneWhenAnyFailed) {
    CPyFtpServer server;
    fs::create_directory(server.Root() + "/up");
    const SCliResult result =
        RunCli({"upload", WriteProject(ProjectFor(server, ThreeFilesSecondMissing()))});

    EXPECT_EQ(result.status, 1) << result.err;
    const std::string expectedStart = "ok " + (folder / "A.bin") + " -> /up/A.bin (1000 bytes, ";
    const std::string expectedFailure = "FAILED " + (folder / "b.bin") +
                                        ": local file: cannot read '" + (folder / "b.bin") +
                                        "': No such file or directory\n";
    const size_t failure = result.out.find(expectedFailure);
    EXPECT_EQ(result.out.rfind(expectedStart, 0), 0u) << result.out;
    ASSERT_NE(failure, std::string::npos) << result.out;
    const std::string rest = result.out.substr(failure + expectedFailure.size());
    EXPECT_EQ(rest.rfind("ok " + (folder / "c.bin") + " -> /up/c.bin (3000 bytes, ", 0), 0u)
        << rest;
    EXPECT_NE(rest.find(" s)\n2 of 3 files uploaded, 1 failed\n"), std::string::npos) << rest;
    EXPECT_EQ(result.err, "") << "no progress unless standard error is a terminal";
    EXPECT_EQ(FolderEntries(server.Root() + "/up"), (std::vector<std::string>{"A.bin", "c.bin"}));
    EXPECT_EQ(ReadFileBytes(server.Root() + "/up/c.bin"), PatternBytes(3000, 3));
}

TEST_F(CliUploadTest, JsonGivesOneObjectPerFileAndNothingElse) {
    CPyFtpServer server;
    fs::create_directory(server.Root() + "/up");
    const SCliResult result =
        RunCli({"upload", WriteProject(ProjectFor(server, ThreeFilesSecondMissing())), "--json"});

    EXPECT_EQ(result.status, 1) << result.err;
    const json items = json::parse(result.out);
    ASSERT_EQ(items.size(), 3u) << result.out;
    const std::vector<std::string> names = {"A.bin", "b.bin", "c.bin"};
    const std::vector<uint64_t> sizes = {1000, 0, 3000};
    for (size_t i = 0; i < 3; ++i) {
        const json& item = items[i];
        const bool ok = i != 1;
        EXPECT_EQ(item.size(), 6u);
        EXPECT_EQ(item["local"], folder / names[i]);
        EXPECT_EQ(item["remote"], "/up/" + names[i]);
        EXPECT_EQ(item["ok"], ok);
        EXPECT_EQ(item["bytes"], sizes[i]);
        EXPECT_TRUE(item["seconds"].is_number());
        EXPECT_EQ(item["error"].is_null(), ok) << item;
    }
    EXPECT_NE(items[1]["error"].get<std::string>().find("local file: cannot read"),
              std::string::npos);
}

TEST_F(CliUploadTest, PasswordComesFromTheNamedVariableWhenAsked) {
    CPyFtpServer server;
    fs::create_directory(server.Root() + "/up");
    WriteFileBytes(folder / "a.bin", "content");
    SProject project = ProjectFor(server, {folder / "a.bin"});
    project.password = "not the password";
    const std::string path = WriteProject(project);

    const SCliResult withProjectPassword = RunCli({"upload", path});
    EXPECT_EQ(withProjectPassword.status, 1);
    EXPECT_NE(withProjectPassword.out.find(": login: 530"), std::string::npos)
        << withProjectPassword.out;

    ::setenv("BREVANE_TEST_PASSWORD", CPyFtpServer::kPassword, 1);
    const SCliResult fromVariable =
        RunCli({"upload", path, "--password-env", "BREVANE_TEST_PASSWORD"});
    ::unsetenv("BREVANE_TEST_PASSWORD");
    EXPECT_EQ(fromVariable.status, 0) << fromVariable.out;
    EXPECT_EQ(ReadFileBytes(server.Root() + "/up/a.bin"), "content");
    EXPECT_EQ(server.Logins(), 1);
}

TEST_F(CliUploadTest, EmptyListUploadsNothingAndSucceeds) {
    CPyFtpServer server;
    const std::string path = WriteProject(ProjectFor(server, {}));
    const SCliResult lines = RunCli({"upload", path});
    EXPECT_EQ(lines.status, 0) << lines.err;
    EXPECT_EQ(lines.out, "0 of 0 files uploaded, 0 failed\n");
    const SCliResult array = RunCli({"upload", path, "--json"});
    EXPECT_EQ(array.status, 0) << array.err;
    EXPECT_EQ(json::parse(array.out), json::array());
    EXPECT_EQ(server.Logins(), 0);
}

TEST_F(CliUploadTest, RefusesUnusableInputsBeforeConnecting) {
    CPyFtpServer server;
    WriteFileBytes(folder / "a.bin", "content");
    const std::string project = WriteProject(ProjectFor(server, {folder / "a.bin"}));
    const std::string notes = folder / "notes.txt";
    WriteFileBytes(notes, "just some words");
    ::unsetenv("BREVANE_TEST_UNSET");
    const struct {
        std::vector<std::string> args;
        std::string complaint;
    } rows[] = {
        {{"upload", notes}, "XML File '" + notes + "' is not a TarvonSCP project!\n"},
        {{"upload", project, "--password-env", "BREVANE_TEST_UNSET"},
         "tarvonscp-cli: the environment variable BREVANE_TEST_UNSET for the password is not "
         "set\n"},
        {{"upload", project, "--ca-file", folder / "missing.pem"},
         "tarvonscp-cli: cannot read the CA file '" + (folder / "missing.pem") + "'\n"},
    };
    for (const auto& row : rows) {
        const SCliResult result = RunCli(row.args);
        EXPECT_EQ(result.status, 1) << row.complaint;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, row.complaint);
    }
    EXPECT_EQ(server.Logins(), 0);
}

// The trust options reach the engine: without them the server is refused.
TEST_F(CliUploadTest, CaFileAndTrustedHostKeyAreHonoured) {
    const std::string unavailable = CVsftpdServer::Unavailable() + CSshServer::Unavailable();
    if (!unavailable.empty()) {
        GTEST_SKIP() << unavailable;
    }
    CTestCertificates certificates;
    CVsftpdServer ftps(certificates, false);
    CSshServer sftp;
    ::setenv("HOME", folder.Path().c_str(), 1); // a known hosts file that lists nothing
    WriteFileBytes(folder / "a.bin", "content");
    SProject project;
    project.pasv = true;
    project.files = {folder / "a.bin"};

    project.ftpServer = ftps.Address();
    project.serverFolder = "upload/"; // in the login folder: vsftpd does not chroot here
    const std::string ftpsProject = WriteProject(project);
    const SCliResult untrustedCertificate = RunCli({"upload", ftpsProject});
    EXPECT_EQ(untrustedCertificate.status, 1);
    EXPECT_NE(untrustedCertificate.out.find(": TLS: the certificate of 127.0.0.1"),
              std::string::npos)
        << untrustedCertificate.out;
    const SCliResult trusted = RunCli({"upload", ftpsProject, "--ca-file", certificates.CaFile()});
    EXPECT_EQ(trusted.status, 0) << trusted.out;
    EXPECT_EQ(ReadFileBytes(ftps.UploadFolder() + "/a.bin"), "content");

    project.ftpServer = sftp.Address();
    project.serverFolder = sftp.UploadFolder() + "/";
    project.username = CSshServer::kUser;
    project.password = CSshServer::kPassword;
    const std::string sftpProject = WriteProject(project);
    const SCliResult unknownKey = RunCli({"upload", sftpProject});
    EXPECT_EQ(unknownKey.status, 1);
    EXPECT_NE(unknownKey.out.find(": host key: the host key of 127.0.0.1"), std::string::npos)
        << unknownKey.out;
    EXPECT_NE(unknownKey.out.find(sftp.Fingerprint()), std::string::npos) << unknownKey.out;
    EXPECT_EQ(RunCli({"upload", sftpProject, "--trust-host-key", sftp.Fingerprint()}).status, 0);
    EXPECT_EQ(ReadFileBytes(sftp.UploadFolder() + "/a.bin"), "content");
}

} // namespace
