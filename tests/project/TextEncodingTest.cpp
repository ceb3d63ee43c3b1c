#include "project/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextEncoding, WellFormedUtf8IsKeptAsItIs) {
    for (const char* text : {"", "plain ascii", "d\xC3\xA9j\xC3\xA0", "\xE2\x82\xAC 5",
                             "\xF0\x9F\x98\x80", "\xEF\xBF\xBD", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(IsValidUtf8(text)) << text;
        EXPECT_EQ(AsUtf8(text), text);
    }
}

TEST(TextEncoding, MalformedSequencesAreNotUtf8) {
    for (const char* text : {"\xC0\xAF",         // overlong slash
                             "\xE0\x80\xAF",     // overlong, three bytes
                             "\xF0\x80\x80\xAF", // overlong, four bytes
                             "\xED\xA0\x80",     // surrogate
                             "\xF4\x90\x80\x80", // past U+10FFFF
                             "\xF5\x80\x80\x80", // no such lead byte
                             "ab\xC3",           // cut short at the end
                             "\xE2\x82x",        // continuation missing
                             "\x80", "\xFF"}) {
        EXPECT_FALSE(IsValidUtf8(text)) << testing::PrintToString(std::string(text));
    }
}

TEST(TextEncoding, Windows1252MapsEveryByteToItsCharacter) {
    EXPECT_EQ(Windows1252ToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(Windows1252ToUtf8("\x80\x8A\x9F"), "\xE2\x82\xAC\xC5\xA0\xC5\xB8");
    EXPECT_EQ(Windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"),
              "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(Windows1252ToUtf8("\xA0\xFF"), "\xC2\xA0\xC3\xBF");
    std::string allBytes;
    for (int byte = 1; byte < 256; ++byte) {
        allBytes += static_cast<char>(byte);
    }
    EXPECT_TRUE(IsValidUtf8(Windows1252ToUtf8(allBytes)));
}

TEST(TextEncoding, EachLineIsReadOnItsOwn) {
    // A mixed line is read wholly as Windows-1252; its neighbours keep their own reading.
    EXPECT_EQ(AsUtf8("\xC3\xA9 and \xE9"), "\xC3\x83\xC2\xA9 and \xC3\xA9");
    EXPECT_EQ(AsUtf8("\xC3\xA9\n\xE9\n\n\xC3\xA9\n"), "\xC3\xA9\n\xC3\xA9\n\n\xC3\xA9\n");
}

} // namespace
