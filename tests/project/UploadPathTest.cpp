#include "project/UploadPath.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

struct SRemotePathCase {
    const char* label;
    const char* folder;
    const char* localPath;
    const char* fileName;
    const char* extension;
    const char* remotePath;
};

// Folder, file name and extension are joined with nothing between them.
const SRemotePathCase kCases[] = {
    {"setup.exe into the target folder", "/myapp/updates/", "/build/setup.exe", "setup", ".exe",
     "/myapp/updates/setup.exe"},
    {"no extension", "/up/", "/build/README", "README", "", "/up/README"},
    {"two dots, the last starts the extension", "/up/", "/build/app.tar.gz", "app.tar", ".gz",
     "/up/app.tar.gz"},
    {"empty target folder", "", "/build/setup.exe", "setup", ".exe", "setup.exe"},
    {"folder without its separator", "/up", "/build/setup.exe", "setup", ".exe", "/upsetup.exe"},
    {"a dot in a folder is no extension", "/up/", "/v1.2/README", "README", "", "/up/README"},
    {"a name that is all extension", "/up/", "/home/me/.profile", "", ".profile", "/up/.profile"},
    {"a bare name", "/up/", "setup.exe", "setup", ".exe", "/up/setup.exe"},
    {"a folder path", "/up/", "/build/", "", "", "/up/"},
#ifdef _WIN32
    {"backslashes and a drive", "/up/", "C:\\build\\setup.exe", "setup", ".exe", "/up/setup.exe"},
    {"drive without folder", "/up/", "C:setup.exe", "setup", ".exe", "/up/setup.exe"},
#else
    {"a backslash is part of the name", "/up/", "/build/a\\b.exe", "a\\b", ".exe", "/up/a\\b.exe"},
#endif
};

class RemotePathTest : public testing::TestWithParam<SRemotePathCase> {};

TEST_P(RemotePathTest, SplitsAndJoinsAsTheRuntimeDoes) {
    const SRemotePathCase& row = GetParam();
    std::string fileName;
    std::string extension;
    UploadPath::SplitFileName(row.localPath, fileName, extension);
    EXPECT_EQ(fileName, row.fileName);
    EXPECT_EQ(extension, row.extension);
    EXPECT_EQ(UploadPath::RemotePath(row.folder, row.localPath), row.remotePath);
}

INSTANTIATE_TEST_SUITE_P(Rows, RemotePathTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SRemotePathCase>& info) {
                             std::string name;
                             for (const char* c = info.param.label; *c != '\0'; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

} // namespace
