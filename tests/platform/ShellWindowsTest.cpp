#include "platform/Shell.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

// One request to the real shell and what it must answer: a code, or any success.
struct ShellCase {
    const char* what;
    const char* verb;
    const char* file; // in the test's folder unless it is a program on the path
    const char* parameters;
    intptr_t code; // 0: any result above kShellLastFailure
};

const ShellCase kCases[] = {
    {"a missing file", "open", "missing.txt", "", kShellFileNotFound},
    {"a missing folder", "explore", "missing", "", kShellFileNotFound},
    {"a file of no known kind", "open", "notes.brevane-unknown", "", kShellNoAssociation},
    {"a program with its arguments", "open", "cmd.exe", "/c exit 3", 0},
};

void PrintTo(const ShellCase& row, std::ostream* out) {
    *out << row.what;
}

class ShellWindowsTest : public ::testing::TestWithParam<ShellCase> {};

TEST_P(ShellWindowsTest, AnswersWithTheWindowsResultCode) {
    const ShellCase& row = GetParam();
    CTempFolder folder;
    WriteFileBytes(folder / "notes.brevane-unknown", "text");
    const std::string file = row.code == 0 ? row.file : folder / row.file;
    const intptr_t result =
        CreateShell()->Execute({nullptr, row.verb, file, row.parameters, "", ShellShowMode::Show});
    if (row.code == 0) {
        EXPECT_GT(result, kShellLastFailure) << row.what;
    } else {
        EXPECT_EQ(result, row.code) << row.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Requests, ShellWindowsTest, ::testing::ValuesIn(kCases));

} // namespace
