#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace {

std::string CommandOutput(const char* command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command, "r"), pclose);
    std::string output;
    char buffer[256];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get()) != nullptr)
        output += buffer;
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

TEST(SystemInfo, StandsInForTheWindowsFoldersWithoutATrailingSeparator) {
    const auto system = CreateSystemInfo();
    EXPECT_EQ(system->WindowsDirectory(), "/etc");
    EXPECT_EQ(system->SystemDirectory(), "/var/log");
}

TEST(SystemInfo, KnowsTheRunningExecutableAndItsFolder) {
    const auto system = CreateSystemInfo();
    const std::string path = system->ProgramPath();
    const std::string folder = system->ProgramFolder();
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0) << path;
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(path.substr(path.find_last_of('/') + 1), "platform_tests");
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), kPathSeparator);
    EXPECT_EQ(folder + "platform_tests", path);
}

TEST(SystemInfo, NamesTheEffectiveUserAsTheSystemDoes) {
    EXPECT_EQ(CreateSystemInfo()->LoginName(), CommandOutput("id -un"));
}

} // namespace
