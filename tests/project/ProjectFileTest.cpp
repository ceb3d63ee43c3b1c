#include "project/ProjectFile.h"

#include "project/PasswordText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

SProject FilledProject() {
    SProject project;
    project.scriptFile = "C:\\scripts\\update.txt";
    project.iniPath = "C:\\WINDOWS\\TarvonSvc4.ini";
    project.logPath = "C:\\WINDOWS\\system32\\TarvonSvc4.log";
    project.scriptURL = "http://www.example.com/update/script.txt";
    project.ftpServer = "ftp.example.com";
    project.username = "publisher";
    project.password = "s3cr\xE9t";
    project.pasv = true;
    project.preconfig = false;
    project.proxyServer = "proxy:8080";
    project.serverFolder = "/myapp/updates/";
    project.timeout = 30000;
    project.useProxy = false;
    project.files = {"C:\\build\\b.exe", "C:\\build\\A.dll"};
    return project;
}

// A project file around the given child elements, as another program might write it.
std::string ProjectText(const std::string& children) {
    return "<ProjectDetail TarvonSCPProjectVer=\"1.00\">\r\n" + children + "</ProjectDetail>\r\n";
}

void ExpectSameProject(const SProject& actual, const SProject& expected) {
    EXPECT_EQ(actual.scriptFile, expected.scriptFile);
    EXPECT_EQ(actual.iniPath, expected.iniPath);
    EXPECT_EQ(actual.logPath, expected.logPath);
    EXPECT_EQ(actual.scriptURL, expected.scriptURL);
    EXPECT_EQ(actual.ftpServer, expected.ftpServer);
    EXPECT_EQ(actual.username, expected.username);
    EXPECT_EQ(actual.password, expected.password);
    EXPECT_EQ(actual.pasv, expected.pasv);
    EXPECT_EQ(actual.preconfig, expected.preconfig);
    EXPECT_EQ(actual.proxyServer, expected.proxyServer);
    EXPECT_EQ(actual.serverFolder, expected.serverFolder);
    EXPECT_EQ(actual.timeout, expected.timeout);
    EXPECT_EQ(actual.useProxy, expected.useProxy);
    EXPECT_EQ(actual.files, expected.files);
}

TEST(ProjectFileSave, WritesTheExactTextInTableOrder) {
    const SProject project = FilledProject();
    const std::string expected =
        "<ProjectDetail TarvonSCPProjectVer=\"1.00\">\r\n"
        "<ScriptFile>C:\\scripts\\update.txt</ScriptFile>\r\n"
        "<INIpath>C:\\WINDOWS\\TarvonSvc4.ini</INIpath>\r\n"
        "<LogPath>C:\\WINDOWS\\system32\\TarvonSvc4.log</LogPath>\r\n"
        "<ScriptURL>http://www.example.com/update/script.txt</ScriptURL>\r\n"
        "<FTPServer>ftp.example.com</FTPServer>\r\n"
        "<Username>publisher</Username>\r\n"
        "<Password>" +
        PasswordToText(project.password) +
        "</Password>\r\n"
        "<PASV>Y</PASV>\r\n"
        "<Preconfig>N</Preconfig>\r\n"
        "<ProxyServer>proxy:8080</ProxyServer>\r\n"
        "<ServerFolder>/myapp/updates/</ServerFolder>\r\n"
        "<Timeout>30000</Timeout>\r\n"
        "<UseProxy>N</UseProxy>\r\n"
        "<Files>\r\n"
        "<File>C:\\build\\b.exe</File>\r\n"
        "<File>C:\\build\\A.dll</File>\r\n"
        "</Files>\r\n"
        "</ProjectDetail>\r\n";
    EXPECT_EQ(ProjectFile::Save(project), expected);
}

TEST(ProjectFileSave, InitialValuesGiveEmptyElementsAndAnEmptyList) {
    const std::string expected = "<ProjectDetail TarvonSCPProjectVer=\"1.00\">\r\n"
                                 "<ScriptFile/>\r\n<INIpath/>\r\n<LogPath/>\r\n<ScriptURL/>\r\n"
                                 "<FTPServer/>\r\n<Username/>\r\n"
                                 "<Password>" +
                                 PasswordToText("") +
                                 "</Password>\r\n"
                                 "<PASV>N</PASV>\r\n<Preconfig>N</Preconfig>\r\n"
                                 "<ProxyServer/>\r\n<ServerFolder/>\r\n"
                                 "<Timeout>15000</Timeout>\r\n<UseProxy>Y</UseProxy>\r\n"
                                 "<Files/>\r\n"
                                 "</ProjectDetail>\r\n";
    EXPECT_EQ(ProjectFile::Save(SProject()), expected);

    SProject loaded = FilledProject();
    ASSERT_TRUE(ProjectFile::Load(expected, loaded));
    EXPECT_TRUE(loaded.files.empty());
}

TEST(ProjectFileSave, TimeoutIsWrittenAsSigned) {
    SProject project;
    project.timeout = 4294967295u;
    const std::string text = ProjectFile::Save(project);
    EXPECT_NE(text.find("<Timeout>-1</Timeout>\r\n"), std::string::npos);

    SProject loaded;
    ASSERT_TRUE(ProjectFile::Load(text, loaded));
    EXPECT_EQ(loaded.timeout, 4294967295u);
}

TEST(ProjectFileRoundTrip, SavingThenLoadingGivesEveryValueBack) {
    const SProject saved = FilledProject();
    SProject loaded;
    ASSERT_TRUE(ProjectFile::Load(ProjectFile::Save(saved), loaded));
    ExpectSameProject(loaded, saved);
}

TEST(ProjectFileRoundTrip, MarkupCharactersAreEscapedAndComeBack) {
    SProject saved;
    saved.scriptURL = "http://x/?a=1&b=<2>";
    saved.files = {"a&b.txt", "<dir>\\c.txt"};
    const std::string text = ProjectFile::Save(saved);
    EXPECT_NE(text.find("<ScriptURL>http://x/?a=1&amp;b=&lt;2&gt;</ScriptURL>"), std::string::npos);
    EXPECT_NE(text.find("<File>&lt;dir&gt;\\c.txt</File>"), std::string::npos);

    SProject loaded;
    ASSERT_TRUE(ProjectFile::Load(text, loaded));
    ExpectSameProject(loaded, saved);
}

TEST(ProjectFileLoad, TextsThatAreNoProjectAreRefusedAndChangeNothing) {
    for (const std::string& text :
         {std::string(), std::string("just some words"),
          std::string("<Project><ScriptFile>x</ScriptFile></Project>"),
          std::string("<ProjectDetail"), std::string("\0<ProjectDetail/>", 17)}) {
        SProject project = FilledProject();
        EXPECT_FALSE(ProjectFile::Load(text, project)) << text;
        ExpectSameProject(project, FilledProject());
    }
}

TEST(ProjectFileLoad, AnyVersionOrNoneLoads) {
    for (const char* root : {"<ProjectDetail TarvonSCPProjectVer=\"9.99\">", "<ProjectDetail>"}) {
        SProject project;
        ASSERT_TRUE(ProjectFile::Load(
            std::string(root) + "<FTPServer>srv</FTPServer></ProjectDetail>", project))
            << root;
        EXPECT_EQ(project.ftpServer, "srv");
    }
}

TEST(ProjectFileLoad, MissingElementsKeepTheirValuesButTheListIsEmptied) {
    SProject project = FilledProject();
    ASSERT_TRUE(ProjectFile::Load(ProjectText("<Username>other</Username>\r\n"), project));
    SProject expected = FilledProject();
    expected.username = "other";
    expected.files.clear();
    ExpectSameProject(project, expected);
}

TEST(ProjectFileLoad, OnlyAnExactYSetsASwitch) {
    for (const char* text : {"y", "yes", "1", "Y ", "YES", "N", ""}) {
        SProject project;
        project.pasv = true;
        ASSERT_TRUE(
            ProjectFile::Load(ProjectText(std::string("<PASV>") + text + "</PASV>"), project));
        EXPECT_FALSE(project.pasv) << '"' << text << '"';
    }
    SProject project;
    ASSERT_TRUE(ProjectFile::Load(ProjectText("<Preconfig>Y</Preconfig>"), project));
    EXPECT_TRUE(project.preconfig);
}

TEST(ProjectFileLoad, TimeoutIsReadAsAtoiReadsIt) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"abc", 0u},
        {"42s", 42u},
        {"  \t+12", 12u},
        {"-7", 4294967289u},
        {"2147483647", 2147483647u},
        {"99999999999999999999", 2147483647u},
        {"-2147483648", 2147483648u},
        {"-99999999999999999999", 2147483648u},
        {"4294967295", 2147483647u},
        {"", 0u},
    };
    for (const auto& [text, expected] : cases) {
        SProject project;
        ASSERT_TRUE(ProjectFile::Load(ProjectText(std::string("<Timeout>") + text + "</Timeout>"),
                                      project));
        EXPECT_EQ(project.timeout, expected) << '"' << text << '"';
    }
}

TEST(ProjectFileLoad, ElementsAreFoundForwardOnlyInTableOrder) {
    SProject project;
    project.pasv = true;
    const std::string children = "<PASV>N</PASV>\r\n"
                                 "<Password>" +
                                 PasswordToText("pw") +
                                 "</Password>\r\n"
                                 "<Timeout>5</Timeout>\r\n<Timeout>6</Timeout>\r\n"
                                 "<Unknown>x</Unknown>\r\n<UseProxy>N</UseProxy>\r\n";
    ASSERT_TRUE(ProjectFile::Load(ProjectText(children), project));
    EXPECT_TRUE(project.pasv);
    EXPECT_EQ(project.password, "pw");
    EXPECT_EQ(project.timeout, 5u);
    EXPECT_FALSE(project.useProxy);
}

TEST(ProjectFileLoad, AnElementFoundLateHidesTheOnesBeforeIt) {
    SProject project;
    project.password = "kept";
    const std::string children =
        "<Password>" + PasswordToText("pw") + "</Password>\r\n<Username>late</Username>\r\n";
    ASSERT_TRUE(ProjectFile::Load(ProjectText(children), project));
    EXPECT_EQ(project.username, "late");
    EXPECT_EQ(project.password, "kept");
}

TEST(ProjectFileLoad, FilesAreReadInFileOrderAfterTheValues) {
    SProject project;
    project.files = {"old"};
    ASSERT_TRUE(ProjectFile::Load(
        ProjectText("<Files><File>z</File><Other>q</Other><File>a</File><File/></Files>"),
        project));
    EXPECT_EQ(project.files, (std::vector<std::string>{"z", "a", ""}));
}

TEST(ProjectFileLoad, TextIsCutAtItsFirstZeroByte) {
    const std::string text = ProjectFile::Save(FilledProject());
    SProject project;
    ASSERT_TRUE(ProjectFile::Load(text + std::string("\0<garbage", 9), project));
    ExpectSameProject(project, FilledProject());

    const std::string cut =
        ProjectText("<FTPServer>a</FTPServer>") + std::string("\0", 1) + "<FTPServer>b</FTPServer>";
    ASSERT_TRUE(ProjectFile::Load(cut, project));
    EXPECT_EQ(project.ftpServer, "a");
}

TEST(ProjectFileLoad, EmptyPasswordElementDeciphersOneZeroBlock) {
    SProject project;
    ASSERT_TRUE(ProjectFile::Load(ProjectText("<Password/>"), project));
    EXPECT_EQ(project.password, TextToPassword(""));
}

} // namespace
