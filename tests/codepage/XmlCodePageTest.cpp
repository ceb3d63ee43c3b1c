#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>

namespace {

// The scanners step over the double-byte characters of the ANSI code page, as the system's
// own scanner does.
struct CodePageCase {
    const char* what;
    const char* text;
    const char* valueOfA[2]; // the value of <a>, under 1252 and under 936; null: no such parse
};

const CodePageCase kCases[] = {
    {"UTF-8 euro sign: its last byte 0xAC leads under 936 and swallows the '<' after it",
     "<r><a>\xE2\x82\xAC</a></r>",
     {"\xE2\x82\xAC", nullptr}},
    {"a Chinese text in code page 936",
     "<r><a>\xD6\xD0\xCE\xC4</a></r>",
     {"\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4"}},
    {"a lead byte that swallows the first dash of a comment's end",
     "<r><!--\xB0--><a>v</a></r>",
     {"v", nullptr}},
};

void PrintTo(const CodePageCase& row, std::ostream* out) {
    *out << row.what;
}

class XmlCodePage : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(XmlCodePage, ScannersStepOverDoubleByteCharacters) {
    const CodePageCase& row = GetParam();
    const char* expected = row.valueOfA[GetACP() == 936 ? 1 : 0];
    CXmlDocument document;
    const bool parsed =
        document.Parse(row.text) && document.FindNext("r") && document.FindNextChild("a");
    ASSERT_EQ(parsed, expected != nullptr) << document.LastError();
    if (parsed) {
        EXPECT_EQ(document.GetChildValue(), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, XmlCodePage, ::testing::ValuesIn(kCases));

} // namespace
