#include "project/AtomicFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// The system's description of an error code, as error texts end with it.
std::string DescriptionOf(DWORD code) {
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r'))
        --length;
    return std::string(text, length);
}

// Holds a file open as an editor that shares it with nobody would.
class CLockedFile {
public:
    explicit CLockedFile(const std::string& path)
        : m_file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~CLockedFile() { CloseHandle(m_file); }
    CLockedFile(const CLockedFile&) = delete;
    CLockedFile& operator=(const CLockedFile&) = delete;
    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_file;
};

TEST(AtomicFileWindows, CreatesAndReplacesWithTheExactBytes) {
    CTempFolder folder;
    const std::string target = folder / "project.xml";
    std::string error;
    for (const std::string& content : {std::string("first\r\n"), std::string("a\0b\xff", 4),
                                       std::string(), std::string(300000, 'x')}) {
        ASSERT_TRUE(AtomicFile::Replace(target, content, error)) << error;
        EXPECT_EQ(ReadFileBytes(target), content);
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"project.xml"});
    }
}

// A replacement that fails keeps the old file whole, leaves no temporary and says why.
struct RefusalCase {
    const char* what;
    void (*prepare)(const std::string& target);
    const char* step; // the failed step the text names
    DWORD code;       // the system error it ends with; 0: any
};

const RefusalCase kRefusals[] = {
    {"a read-only file, which the rename alone would replace under Wine",
     [](const std::string& target) { SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY); },
     "write", ERROR_ACCESS_DENIED},
    {"a folder in the place of the file",
     [](const std::string& target) {
         DeleteFileA(target.c_str());
         CreateDirectoryA(target.c_str(), nullptr);
     },
     "replace", 0},
};

void PrintTo(const RefusalCase& row, std::ostream* out) {
    *out << row.what;
}

class AtomicFileWindowsRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(AtomicFileWindowsRefusal, KeepsTheOldStateAndNamesTheStep) {
    const RefusalCase& row = GetParam();
    CTempFolder folder;
    const std::string target = folder / "project.xml";
    WriteFileBytes(target, "old");
    row.prepare(target);
    const std::string before = ReadFileBytes(target);
    std::string error;
    EXPECT_FALSE(AtomicFile::Replace(target, "new", error)) << row.what;
    const std::string prefix = "cannot " + std::string(row.step) + " '" + target + "': ";
    EXPECT_EQ(error.substr(0, prefix.size()), prefix) << error;
    EXPECT_GT(error.size(), prefix.size()) << "the system's description follows";
    if (row.code != 0) {
        EXPECT_EQ(error, prefix + DescriptionOf(row.code));
    }
    EXPECT_EQ(ReadFileBytes(target), before);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"project.xml"});
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(Targets, AtomicFileWindowsRefusal, ::testing::ValuesIn(kRefusals));

TEST(AtomicFileWindows, AFileHeldOpenByAnotherProgramKeepsItsContent) {
    CTempFolder folder;
    const std::string target = folder / "project.xml";
    WriteFileBytes(target, "old");
    std::string error;
    {
        CLockedFile editor(target);
        ASSERT_TRUE(editor.IsOpen());
        EXPECT_FALSE(AtomicFile::Replace(target, "new", error));
    }
    EXPECT_EQ(error.rfind("cannot replace '" + target + "': ", 0), 0u) << error;
    EXPECT_EQ(ReadFileBytes(target), "old");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"project.xml"});
}

TEST(AtomicFileWindows, AMissingFolderIsNamedWithTheSystemText) {
    CTempFolder folder;
    const std::string missing = folder / "no\\such\\";
    std::string error;
    EXPECT_FALSE(AtomicFile::Replace(missing + "project.xml", "x", error));
    EXPECT_EQ(error, "cannot create a temporary file in '" + missing +
                         "': " + DescriptionOf(ERROR_DIRECTORY));
    EXPECT_TRUE(folder.Entries().empty());
}

} // namespace
