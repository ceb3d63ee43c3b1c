#include "project/RemotePath.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>

namespace {

// Under code page 936 the byte 0x5C ("\") may be the second byte of a character, and then it
// separates no folders.
struct RemotePathCodePageCase {
    const char* what;
    const char* localPath;
    const char* fileName[2]; // under 1252 and under 936
};

const RemotePathCodePageCase kCases[] = {
    {"a character whose second byte is 0x5C starts the name",
     "C:\\up\\\x81\x5Cname.exe",
     {"name", "\x81\x5Cname"}},
    {"a separator after a Chinese folder name", "C:\\\xD6\xD0\\setup.exe", {"setup", "setup"}},
    {"a character ending in 0x5C inside a folder name", "C:\\a\x95\x5C\\b.exe", {"b", "b"}},
};

void PrintTo(const RemotePathCodePageCase& row, std::ostream* out) {
    *out << row.what;
}

class RemotePathCodePage : public ::testing::TestWithParam<RemotePathCodePageCase> {};

TEST_P(RemotePathCodePage, FolderSeparatorsAreWholeCharacters) {
    const RemotePathCodePageCase& row = GetParam();
    const std::string expected = row.fileName[GetACP() == 936 ? 1 : 0];
    const RemotePath::SNameParts parts = RemotePath::SplitFileName(row.localPath);
    EXPECT_EQ(parts.name, expected);
    EXPECT_EQ(parts.extension, ".exe");
    EXPECT_EQ(RemotePath::ForLocalFile("/up/", row.localPath), "/up/" + expected + ".exe");
}

INSTANTIATE_TEST_SUITE_P(Paths, RemotePathCodePage, ::testing::ValuesIn(kCases));

} // namespace
