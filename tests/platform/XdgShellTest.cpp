#include "platform/XdgShell.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// A temporary folder with a stand-in opener that records its arguments and exits as told.
class XdgShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/shell-test-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        m_folder = folder;
        m_record = m_folder + "/arguments";
        m_file = m_folder + "/a document with blanks.txt";
        std::ofstream(m_file) << "text\n";
    }

    void TearDown() override {
        const std::string command = "rm -rf '" + m_folder + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    // An opener script whose body runs after it recorded its arguments.
    std::string Opener(const std::string& body) {
        const std::string path = m_folder + "/opener";
        std::ofstream(path) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << m_record << "'\n"
                            << body << "\n";
        chmod(path.c_str(), 0755);
        return path;
    }

    std::string Recorded() const {
        std::ifstream file(m_record);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    bool WasRun() const { return access(m_record.c_str(), F_OK) == 0; }

    static ShellRequest Request(const std::string& verb, const std::string& file,
                                const std::string& directory = std::string()) {
        ShellRequest request;
        request.verb = verb;
        request.file = file;
        request.directory = directory;
        return request;
    }

    std::string m_folder;
    std::string m_record;
    std::string m_file;
};

TEST_F(XdgShellTest, MissingOrEmptyFileIsNotFoundWithoutStartingAnything) {
    CXdgShell shell(Opener("exit 0"));
    EXPECT_EQ(shell.Execute(Request("open", m_folder + "/no such file.txt")), kShellFileNotFound);
    EXPECT_EQ(shell.Execute(Request("open", "")), kShellFileNotFound);
    EXPECT_EQ(shell.Execute(Request("explore", "", m_folder + "/no such folder")),
              kShellFileNotFound);
    EXPECT_EQ(shell.Execute(Request("explore", "", m_file)), kShellFileNotFound)
        << "a file is not a folder to explore";
    EXPECT_FALSE(WasRun());
}

TEST_F(XdgShellTest, TheSystemShellReportsAMissingFileAsNotFound) {
    EXPECT_EQ(CreateShell()->Execute(Request("open", m_folder + "/Brevane.chm")),
              kShellFileNotFound);
}

TEST_F(XdgShellTest, OpenHandsTheWholePathToTheOpener) {
    CXdgShell shell(Opener("exit 0"));
    EXPECT_EQ(shell.Execute(Request("open", m_file)), kShellDone);
    EXPECT_EQ(Recorded(), m_file + "\n");
}

TEST_F(XdgShellTest, RelativeFileIsTakenFromTheRequestFolder) {
    CXdgShell shell(Opener("exit 0"));
    EXPECT_EQ(shell.Execute(Request("open", "a document with blanks.txt", m_folder + "/")),
              kShellDone);
    EXPECT_EQ(Recorded(), m_file + "\n");
}

TEST_F(XdgShellTest, ExploreOpensTheRequestFolder) {
    CXdgShell shell(Opener("exit 0"));
    EXPECT_EQ(shell.Execute(Request("explore", "", m_folder + "/")), kShellDone);
    EXPECT_EQ(Recorded(), m_folder + "/\n");
}

TEST_F(XdgShellTest, AddressesAreHandedOnWithoutLookingForAFile) {
    CXdgShell shell(Opener("exit 0"));
    EXPECT_EQ(shell.Execute(Request("open", "http://www.example.com/help")), kShellDone);
    EXPECT_EQ(Recorded(), "http://www.example.com/help\n");
}

TEST_F(XdgShellTest, OpenerFailuresMapToTheWindowsCodes) {
    EXPECT_EQ(CXdgShell(Opener("exit 2")).Execute(Request("open", m_file)), kShellFileNotFound);
    EXPECT_EQ(CXdgShell(Opener("exit 3")).Execute(Request("open", m_file)), kShellNoAssociation);
    EXPECT_EQ(CXdgShell(Opener("exit 4")).Execute(Request("open", m_file)), kShellNoAssociation);
    EXPECT_EQ(CXdgShell(Opener("kill -9 $$")).Execute(Request("open", m_file)),
              kShellNoAssociation);
}

TEST_F(XdgShellTest, MissingOpenerOrUnknownVerbIsNoAssociation) {
    EXPECT_EQ(CXdgShell(m_folder + "/no-opener").Execute(Request("open", m_file)),
              kShellNoAssociation);
    EXPECT_EQ(CXdgShell("no-such-opener-program").Execute(Request("open", m_file)),
              kShellNoAssociation);
    EXPECT_EQ(CXdgShell(Opener("exit 0")).Execute(Request("print", m_file)), kShellNoAssociation);
    EXPECT_FALSE(WasRun());
}

TEST_F(XdgShellTest, DoesNotWaitForAnApplicationThatKeepsRunning) {
    const std::string finished = m_folder + "/finished";
    CXdgShell shell(Opener("sleep 3; touch '" + finished + "'"), 100);
    EXPECT_EQ(shell.Execute(Request("open", m_file)), kShellDone);
    EXPECT_TRUE(WasRun());
    EXPECT_NE(access(finished.c_str(), F_OK), 0) << "returned only after the opener ended";
}

} // namespace
