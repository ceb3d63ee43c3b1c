#include "project/UploadPath.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>

namespace {

// Under code page 936 the byte 0x5C ("\") may be the second byte of a character, and then it
// separates no folders.
struct UploadPathCodePageCase {
    const char* what;
    const char* localPath;
    const char* fileName[2]; // under 1252 and under 936
};

const UploadPathCodePageCase kCases[] = {
    {"a character whose second byte is 0x5C starts the name",
     "C:\\up\\\x81\x5Cname.exe",
     {"name", "\x81\x5Cname"}},
    {"a separator after a Chinese folder name", "C:\\\xD6\xD0\\setup.exe", {"setup", "setup"}},
    {"a character ending in 0x5C inside a folder name", "C:\\a\x95\x5C\\b.exe", {"b", "b"}},
};

void PrintTo(const UploadPathCodePageCase& row, std::ostream* out) {
    *out << row.what;
}

class UploadPathCodePage : public ::testing::TestWithParam<UploadPathCodePageCase> {};

TEST_P(UploadPathCodePage, FolderSeparatorsAreWholeCharacters) {
    const UploadPathCodePageCase& row = GetParam();
    const std::string expected = row.fileName[GetACP() == 936 ? 1 : 0];
    std::string fileName;
    std::string extension;
    UploadPath::SplitFileName(row.localPath, fileName, extension);
    EXPECT_EQ(fileName, expected);
    EXPECT_EQ(extension, ".exe");
    EXPECT_EQ(UploadPath::RemotePath("/up/", row.localPath), "/up/" + expected + ".exe");
}

INSTANTIATE_TEST_SUITE_P(Paths, UploadPathCodePage, ::testing::ValuesIn(kCases));

} // namespace
