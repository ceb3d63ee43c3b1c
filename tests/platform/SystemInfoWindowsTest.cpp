#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// A variable of the process environment as the system keeps it, a second source for its facts.
std::string Environment(const char* name) {
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
    return length < MAX_PATH ? std::string(value, length) : std::string();
}

bool SameText(const std::string& left, const std::string& right) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, left.data(),
                          static_cast<int>(left.size()), right.data(),
                          static_cast<int>(right.size())) == CSTR_EQUAL;
}

TEST(SystemInfoWindows, NamesTheWindowsAndSystemFoldersWithoutATrailingSeparator) {
    const auto system = CreateSystemInfo();
    const std::string windows = system->WindowsDirectory();
    ASSERT_FALSE(windows.empty());
    EXPECT_TRUE(SameText(windows, Environment("SystemRoot"))) << windows;
    EXPECT_TRUE(SameText(system->SystemDirectory(), windows + "\\system32"))
        << system->SystemDirectory();
    EXPECT_NE(system->SystemDirectory().back(), '\\');
}

TEST(SystemInfoWindows, KnowsTheRunningExecutableAndItsFolder) {
    const auto system = CreateSystemInfo();
    const std::string path = system->ProgramPath();
    const std::string folder = system->ProgramFolder();
    const DWORD attributes = GetFileAttributesA(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << path;
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), kPathSeparator);
    EXPECT_TRUE(SameText(path.substr(folder.size()), "platform_tests.exe")) << path;
    EXPECT_EQ(folder, path.substr(0, folder.size()));
}

TEST(SystemInfoWindows, NamesTheLoggedOnUserAsTheSessionDoes) {
    const std::string name = CreateSystemInfo()->LoginName();
    EXPECT_FALSE(name.empty());
    EXPECT_TRUE(SameText(name, Environment("USERNAME"))) << name;
}

} // namespace
