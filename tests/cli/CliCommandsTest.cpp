#include "CliRun.h"

#include "project/PasswordText.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const std::vector<std::string> kKeysInFileOrder = {
    "ScriptFile", "INIpath",   "LogPath",     "ScriptURL",    "FTPServer", "Username", "Password",
    "PASV",       "Preconfig", "ProxyServer", "ServerFolder", "Timeout",   "UseProxy", "Files"};

SProject SampleProject() {
    SProject project;
    project.scriptFile = "C:\\scripts\\update.txt";
    project.scriptURL = "http://example.com/a?b=1&c=<2>";
    project.ftpServer = "ftp.example.com";
    project.username = "publisher";
    project.password = "pa$$ word";
    project.pasv = true;
    project.timeout = 30000;
    project.useProxy = false;
    project.files = {"b.exe", "a.dll"};
    return project;
}

std::vector<std::string> KeysOf(const std::string& jsonText) {
    std::vector<std::string> keys;
    const nlohmann::ordered_json parsed = nlohmann::ordered_json::parse(jsonText);
    for (const auto& item : parsed.items()) {
        keys.push_back(item.key());
    }
    return keys;
}

class CliTest : public testing::Test {
protected:
    std::string WriteProject(const SProject& project) const {
        const std::string path = folder / "project.xml";
        WriteFileBytes(path, ProjectFile::Save(project));
        return path;
    }

    CTempFolder folder;
};

TEST_F(CliTest, HelpAndVersionSucceedOnStandardOutput) {
    const SCliResult help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("tarvonscp-cli save PROJECT.xml --from-json VALUES.json"),
              std::string::npos);
    EXPECT_NE(help.out.find("Windows-1252"), std::string::npos);
    EXPECT_EQ(help.err, "");

    const SCliResult version = RunCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("tarvonscp-cli ", 0), 0u);
}

TEST_F(CliTest, CommandLinesNotUnderstoodExitWithTwo) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"list"},
        {"show"},
        {"show", "a.xml", "b.xml"},
        {"show", "a.xml", "--verbose"},
        {"save", "a.xml"},
        {"save", "--from-json", "v.json"},
        {"save", "a.xml", "--from-json"},
        {"password"},
        {"password", "reveal"},
        {"password", "encode", "extra"},
        {"upload"},
        {"upload", "a.xml", "b.xml"},
        {"upload", "a.xml", "--password-env"},
        {"upload", "a.xml", "--ca-file"},
        {"upload", "a.xml", "--trust-host-key", "SHA256:x"},
        {"upload", "a.xml", "--trust-host-key",
         "MD5:16:27:ac:a5:76:28:2d:36:63:1b:56:4d:eb:df:a6:48"},
        {"upload", "a.xml", "--json", "--json"},
        {"upload", "a.xml", "--verbose"},
    };
    for (const auto& args : wrong) {
        const SCliResult result = RunCli(args);
        EXPECT_EQ(result.status, 2) << testing::PrintToString(args);
        EXPECT_NE(result.err.find("Usage:"), std::string::npos);
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(CliTest, ShowPrintsEveryKeyInFileOrderWithThePasswordHidden) {
    const SCliResult result = RunCli({"show", WriteProject(SampleProject())});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(KeysOf(result.out), kKeysInFileOrder);
    const json shown = json::parse(result.out);
    EXPECT_EQ(shown["Password"], "********");
    EXPECT_EQ(shown["ScriptURL"], "http://example.com/a?b=1&c=<2>");
    EXPECT_EQ(shown["PASV"], true);
    EXPECT_EQ(shown["Preconfig"], false);
    EXPECT_EQ(shown["Timeout"], 30000);
    EXPECT_EQ(shown["UseProxy"], false);
    EXPECT_EQ(shown["Files"], json({"b.exe", "a.dll"}));
}

TEST_F(CliTest, ShowRevealsThePasswordOnlyWhenAsked) {
    const std::string path = WriteProject(SampleProject());
    const SCliResult result = RunCli({"show", "--show-password", path});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(json::parse(result.out)["Password"], "pa$$ word");
}

TEST_F(CliTest, ShowFillsMissingElementsWithTheWindowsInitialValues) {
    const std::string path = folder / "sparse.xml";
    WriteFileBytes(path, "<ProjectDetail><Username>me</Username></ProjectDetail>");
    const SCliResult result = RunCli({"show", path});
    ASSERT_EQ(result.status, 0) << result.err;
    const json shown = json::parse(result.out);
    EXPECT_EQ(shown["Username"], "me");
    EXPECT_EQ(shown["Timeout"], 15000);
    EXPECT_EQ(shown["UseProxy"], true);
    EXPECT_EQ(shown["PASV"], false);
    EXPECT_EQ(shown["FTPServer"], "");
    EXPECT_EQ(shown["Files"], json::array());
}

TEST_F(CliTest, ShowTakesBytesThatAreNotUtf8AsWindows1252) {
    SProject project;
    project.scriptFile = "C:\\Proj\xE9ts\\\x80.txt";
    project.ftpServer = "d\xC3\xA9j\xC3\xA0 vu"; // UTF-8 already: kept as it is
    project.files = {"\x93quoted\x94"};
    const SCliResult result = RunCli({"show", WriteProject(project)});
    ASSERT_EQ(result.status, 0) << result.err;
    const json shown = json::parse(result.out); // throws on invalid UTF-8
    EXPECT_EQ(shown["ScriptFile"], "C:\\Proj\xC3\xA9ts\\\xE2\x82\xAC.txt");
    EXPECT_EQ(shown["FTPServer"], "d\xC3\xA9j\xC3\xA0 vu");
    EXPECT_EQ(shown["Files"][0], "\xE2\x80\x9Cquoted\xE2\x80\x9D");
}

TEST_F(CliTest, ShowRefusesFilesThatAreNoProject) {
    const std::string wrongRoot = folder / "other.xml";
    WriteFileBytes(wrongRoot, "<Settings><ScriptFile>x</ScriptFile></Settings>");
    const std::string empty = folder / "empty.xml";
    WriteFileBytes(empty, "");
    const std::string notXml = folder / "notes.txt";
    WriteFileBytes(notXml, "just some words");
    for (const std::string& path : {wrongRoot, empty, notXml}) {
        const SCliResult result = RunCli({"show", path});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "XML File '" + path + "' is not a TarvonSCP project!\n");
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(CliTest, ShowRefusesWhatItCannotRead) {
    for (const std::string& path : {folder / "missing.xml", folder.Path().string()}) {
        const SCliResult result = RunCli({"show", path});
        EXPECT_EQ(result.status, 1) << path;
        EXPECT_NE(result.err.find("'" + path + "'"), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(CliTest, InputsLargerThan256MiBAreRefused) {
    const std::string huge = folder / "huge.xml";
    WriteFileBytes(huge, "<ProjectDetail/>");
    fs::resize_file(huge, 256ull * 1024 * 1024 + 1); // sparse: costs no disk
    const SCliResult shown = RunCli({"show", huge});
    EXPECT_EQ(shown.status, 1);
    EXPECT_NE(shown.err.find("larger than 256 MiB"), std::string::npos) << shown.err;

    const SCliResult saved = RunCli({"save", folder / "out.xml", "--from-json", huge});
    EXPECT_EQ(saved.status, 1);
    EXPECT_NE(saved.err.find("larger than 256 MiB"), std::string::npos) << saved.err;
    EXPECT_FALSE(fs::exists(folder / "out.xml"));
}

TEST_F(CliTest, ShowFailsWhenItsOutputCannotBeWritten) {
    EXPECT_EQ(RunCliWithOutputTo({"show", WriteProject(SampleProject())}, "/dev/full"), 1);
}

TEST_F(CliTest, SaveWritesTheProjectFileWithTheListSortedIgnoringCase) {
    const std::string values = folder / "values.json";
    WriteFileBytes(values, R"({"ScriptFile": "C:\\scripts\\update.txt",
        "ScriptURL": "http://example.com/a?b=1&c=<2>", "FTPServer": "ftp.example.com",
        "Username": "publisher", "Password": "pa$$ word", "PASV": true, "Timeout": 30000,
        "UseProxy": false, "Files": ["b.exe", "B.txt", "a.dll", "A.cfg"]})");
    const std::string target = folder / "saved.xml";
    const SCliResult result = RunCli({"save", target, "--from-json", values});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");

    SProject expected = SampleProject();
    expected.files = {"A.cfg", "a.dll", "b.exe", "B.txt"};
    EXPECT_EQ(ReadFileBytes(target), ProjectFile::Save(expected));
}

TEST_F(CliTest, SaveSortsLettersBeyondAsciiIgnoringCaseAsTheWindowDoes) {
    // The window folds the case of each character (final sigma too, dotted capital I not)
    // and compares UTF-16 code units, so U+10000 comes before U+FFFD.
    const std::string values = R"({"Files": ["\u00c92", "\u00e91", "\u00e4", "Z",
        "\u03a3b", "\u03c2a", "\ufffd", "\ud800\udc00", "\u0130", "i"]})";
    const std::string target = folder / "saved.xml";
    const SCliResult result = RunCli({"save", target, "--from-json", "-"}, values);
    ASSERT_EQ(result.status, 0) << result.err;

    SProject expected;
    expected.files = {u8"i",      u8"Z",       u8"\u00e4",  u8"\u00e91",    u8"\u00c92",
                      u8"\u0130", u8"\u03c2a", u8"\u03a3b", u8"\U00010000", u8"\ufffd"};
    EXPECT_EQ(ReadFileBytes(target), ProjectFile::Save(expected));
}

TEST_F(CliTest, SaveStartsFromTheWindowsInitialValues) {
    const std::string target = folder / "saved.xml";
    const SCliResult result = RunCli({"save", target, "--from-json", "-"}, "{}");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFileBytes(target), ProjectFile::Save(SProject()));
}

TEST_F(CliTest, SavedFileShowsTheSameValues) {
    const std::string values = R"({"ScriptFile":"/srv/script.txt","INIpath":"/etc/TarvonSvc4.ini",
        "LogPath":"/var/log/TarvonSvc4.log","ScriptURL":"http://x/s","FTPServer":"ftp.x",
        "Username":"u","Password":"p\u00e9 \u20ac","PASV":true,"Preconfig":true,
        "ProxyServer":"proxy:3128","ServerFolder":"/up/","Timeout":4294967295,
        "UseProxy":false,"Files":["/a","/b"]})";
    const std::string target = folder / "saved.xml";
    ASSERT_EQ(RunCli({"save", target, "--from-json", "-"}, values).status, 0);
    const SCliResult shown = RunCli({"show", target, "--show-password"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(json::parse(shown.out), json::parse(values));
}

TEST_F(CliTest, SaveRefusesBadValuesAndLeavesTheOldFileAlone) {
    const std::string target = folder / "project.xml";
    const std::string original = ProjectFile::Save(SampleProject());
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"{\"FTPServer\": ", "not valid JSON"},   {"[1, 2]", "JSON object"},
        {R"({"PASV": "Y"})", "'PASV'"},           {R"({"Timeout": -1})", "'Timeout'"},
        {R"({"Timeout": 1.5})", "'Timeout'"},     {R"({"Timeout": 4294967296})", "'Timeout'"},
        {R"({"Timeout": "15000"})", "'Timeout'"}, {R"({"ScriptFile": 5})", "'ScriptFile'"},
        {R"({"Username": null})", "'Username'"},  {R"({"Password": "a\u0000b"})", "'Password'"},
        {R"({"Files": "a.exe"})", "'Files'"},     {R"({"Files": ["a.exe", 7]})", "'Files[1]'"},
        {R"({"Timout": 5})", "'Timout'"},
    };
    for (const auto& [values, named] : bad) {
        WriteFileBytes(target, original);
        const SCliResult result = RunCli({"save", target, "--from-json", "-"}, values);
        EXPECT_EQ(result.status, 1) << values;
        EXPECT_NE(result.err.find(named), std::string::npos) << values << " -> " << result.err;
        EXPECT_EQ(ReadFileBytes(target), original) << values;
    }
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"project.xml"});
}

TEST_F(CliTest, SaveThatCannotReplaceTheTargetLeavesNoTrace) {
    const std::string occupied = folder / "occupied";
    fs::create_directory(occupied);
    WriteFileBytes(occupied + "/inside.txt", "keep");
    const SCliResult intoFolder = RunCli({"save", occupied, "--from-json", "-"}, "{}");
    EXPECT_EQ(intoFolder.status, 1);
    EXPECT_NE(intoFolder.err.find(occupied), std::string::npos) << intoFolder.err;
    EXPECT_EQ(ReadFileBytes(occupied + "/inside.txt"), "keep");

    const SCliResult noFolder =
        RunCli({"save", folder / "no/such/folder/p.xml", "--from-json", "-"}, "{}");
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_NE(noFolder.err.find("no/such/folder"), std::string::npos) << noFolder.err;

    const SCliResult noValues = RunCli({"save", folder / "p.xml", "--from-json", folder / "v"});
    EXPECT_EQ(noValues.status, 1);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"occupied"});
}

TEST_F(CliTest, SaveKeepsThePermissionsOfTheFileItReplaces) {
    const std::string target = WriteProject(SampleProject());
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(RunCli({"save", target, "--from-json", "-"}, "{}").status, 0);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(CliTest, PasswordEncodeTakesOneLineWithoutItsLineEnd) {
    const std::string expected = PasswordToText("s3cr\xE9t") + "\n";
    for (const char* input : {"s3cr\xE9t", "s3cr\xE9t\n", "s3cr\xE9t\r\n"}) {
        const SCliResult result = RunCli({"password", "encode"}, input);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, expected);
    }
    EXPECT_EQ(RunCli({"password", "encode"}, "").out, PasswordToText("") + "\n");
}

TEST_F(CliTest, PasswordEncodeRefusesMoreThanOneLine) {
    for (const std::string& input : {std::string("one\ntwo\n"), std::string("a\0b", 3)}) {
        const SCliResult result = RunCli({"password", "encode"}, input);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("one line"), std::string::npos);
    }
}

TEST_F(CliTest, PasswordDecodeReadsTheStoredText) {
    const SCliResult result =
        RunCli({"password", "decode"}, PasswordToText("pa$$ \xFF word") + "\r\n");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "pa$$ \xFF word\n");

    const SCliResult encoded = RunCli({"password", "encode"}, "round trip\n");
    EXPECT_EQ(RunCli({"password", "decode"}, encoded.out).out, "round trip\n");
}

} // namespace
