#include "project/RemotePath.h"

#include <gtest/gtest.h>

namespace {

struct SRemotePathCase {
    const char* folder;
    const char* local;
    bool windowsPaths;
    const char* name;
    const char* extension;
    const char* remote;
};

// Names the row in test listings.
void PrintTo(const SRemotePathCase& row, std::ostream* out) {
    *out << row.local;
}

const SRemotePathCase kRemotePathCases[] = {
    {"/myapp/updates/", "/build/setup.exe", false, "setup", ".exe", "/myapp/updates/setup.exe"},
    {"/myapp/updates/", "/build/README", false, "README", "", "/myapp/updates/README"},
    {"/u/", "/build/app.tar.gz", false, "app.tar", ".gz", "/u/app.tar.gz"},
    {"/u/", "/home/a.b/file", false, "file", "", "/u/file"},
    {"/u/", "/build/.profile", false, "", ".profile", "/u/.profile"},
    {"", "/build/setup.exe", false, "setup", ".exe", "setup.exe"},
    {"/u", "/build/setup.exe", false, "setup", ".exe", "/usetup.exe"},
    {"/u/", "C:\\build\\setup.exe", false, "C:\\build\\setup", ".exe", "/u/C:\\build\\setup.exe"},
    {"/u/", "C:\\build\\setup.exe", true, "setup", ".exe", "/u/setup.exe"},
    {"/u/", "C:\\build/sub\\App.DLL", true, "App", ".DLL", "/u/App.DLL"},
    {"/u/", "C:setup.exe", true, "setup", ".exe", "/u/setup.exe"},
    {"/u/", "\\\\server\\share\\a.txt", true, "a", ".txt", "/u/a.txt"},
    {"/u/", "/build/", false, "", "", "/u/"},
};

class RemotePathTest : public testing::TestWithParam<SRemotePathCase> {};

TEST_P(RemotePathTest, JoinsFolderNameAndExtensionAsTheRuntimeSplitsThem) {
    const SRemotePathCase& row = GetParam();
    const RemotePath::SNameParts parts = RemotePath::SplitFileName(row.local, row.windowsPaths);
    EXPECT_EQ(parts.name, row.name);
    EXPECT_EQ(parts.extension, row.extension);
    EXPECT_EQ(RemotePath::ForLocalFile(row.folder, row.local, row.windowsPaths), row.remote);
}

INSTANTIATE_TEST_SUITE_P(Rows, RemotePathTest, testing::ValuesIn(kRemotePathCases));

TEST(RemotePathDefaultTest, FollowsThisPlatformsSeparators) {
    EXPECT_EQ(RemotePath::ForLocalFile("/u/", "a\\b.txt"),
              RemotePath::kWindowsPaths ? "/u/b.txt" : "/u/a\\b.txt");
}

} // namespace
