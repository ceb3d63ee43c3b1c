#include "project/PasswordText.h"

#include "project/BlowfishCipher.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

const std::string kFixedKey = "Marrowind Kettle Ferrous Lantern";

// The cipher bytes behind a stored text, read group by group without TextToPassword.
std::vector<uint8_t> GroupBytes(const std::string& text) {
    std::vector<uint8_t> bytes;
    for (size_t at = 0; at < text.size(); at += 6) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(text.substr(at + 3, 2), nullptr, 16)));
    }
    return bytes;
}

// What the fixed key makes of the plain bytes, zero-filled to whole blocks.
std::vector<uint8_t> Enciphered(const std::string& plain) {
    std::vector<uint8_t> bytes(plain.begin(), plain.end());
    bytes.resize(CBlowfishCipher::GetOutputLength(bytes.size()), 0);
    CBlowfishCipher(kFixedKey).Encrypt(bytes.data(), bytes.size(), bytes.data());
    return bytes;
}

// A password whose stored text holds the given group.
std::string PasswordWithGroup(const std::string& group) {
    for (int i = 0; i < 10000; ++i) {
        const std::string candidate = "pw" + std::to_string(i);
        if (PasswordToText(candidate).find(group) != std::string::npos) {
            return candidate;
        }
    }
    return std::string();
}

TEST(PasswordToText, EveryGroupIsFourUpperCaseDigitsInBrackets) {
    const std::string text = PasswordToText("secret");
    EXPECT_TRUE(std::regex_match(text, std::regex(R"((\[(00[0-7][0-9A-F]|FF[89A-F][0-9A-F])\])+)")))
        << text;
}

TEST(PasswordToText, GroupsHoldTheCipherBytesOfPasswordTerminatorAndFill) {
    for (const char* password : {"", "a", "1234567", "12345678", "\xE9t\xE9 \xFF\x80"}) {
        const std::string text = PasswordToText(password);
        EXPECT_EQ(GroupBytes(text), Enciphered(std::string(password) + '\0')) << password;
    }
}

TEST(PasswordToText, LengthFollowsTheTerminatedPassword) {
    EXPECT_EQ(PasswordToText("").size(), 48u);
    EXPECT_EQ(PasswordToText("1234567").size(), 48u);
    EXPECT_EQ(PasswordToText("12345678").size(), 96u);
    EXPECT_EQ(PasswordToText(std::string(64, 'x')).size(), 6u * 72);
}

TEST(PasswordToText, HighBytesAreWrittenSignExtended) {
    const std::string text = PasswordToText("high");
    for (size_t at = 0; at < text.size(); at += 6) {
        const uint8_t byte = GroupBytes(text.substr(at, 6))[0];
        EXPECT_EQ(text.substr(at + 1, 2), byte >= 0x80 ? "FF" : "00") << text.substr(at, 6);
    }
}

TEST(PasswordToText, PasswordEndsAtItsFirstZeroByte) {
    EXPECT_EQ(PasswordToText(std::string("ab\0cd", 5)), PasswordToText("ab"));
}

TEST(PasswordRoundTrip, EmptyPasswordComesBackEmpty) {
    EXPECT_EQ(TextToPassword(PasswordToText("")), "");
}

TEST(PasswordRoundTrip, RandomPasswordsOfEveryLengthUpTo64Bytes) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> byte(1, 255);
    for (size_t length = 0; length <= 64; ++length) {
        for (int sample = 0; sample < 8; ++sample) {
            std::string password;
            for (size_t i = 0; i < length; ++i) {
                password += static_cast<char>(byte(random));
            }
            ASSERT_EQ(TextToPassword(PasswordToText(password)), password) << "length " << length;
        }
    }
}

TEST(PasswordRoundTrip, CipherByteZeroIsWrittenAsGroupAndRestored) {
    const std::string password = PasswordWithGroup("[0000]");
    ASSERT_FALSE(password.empty());
    EXPECT_EQ(TextToPassword(PasswordToText(password)), password);
}

class TextToPasswordReading : public testing::Test {
protected:
    void SetUp() override {
        password = PasswordWithGroup("[FF");
        ASSERT_FALSE(password.empty());
        text = PasswordToText(password);
        high = text.find("[FF");
    }

    // The text with the high group replaced.
    std::string WithHighGroup(const std::string& group) const {
        return text.substr(0, high) + group + text.substr(high + 6);
    }
    std::string HighDigits() const { return text.substr(high + 3, 2); }

    std::string password;
    std::string text;
    size_t high = 0;
};

TEST_F(TextToPasswordReading, HighByteReadsTheSameWithOrWithoutFF) {
    EXPECT_EQ(TextToPassword(WithHighGroup("[00" + HighDigits() + "]")), password);
}

TEST_F(TextToPasswordReading, DigitsOfEitherCaseAreAccepted) {
    std::string lower = text;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(TextToPassword(lower), password);
}

TEST_F(TextToPasswordReading, LongNumbersKeepOnlyTheirLow8Bits) {
    EXPECT_EQ(TextToPassword(WithHighGroup("[ABCDEF12345" + HighDigits() + "]")), password);
    EXPECT_EQ(TextToPassword(WithHighGroup("[" + HighDigits() + "]")), password);
}

TEST_F(TextToPasswordReading, ReadingStopsAtTheFirstNonHexCharacterOfAPiece) {
    EXPECT_EQ(TextToPassword(WithHighGroup("[FF" + HighDigits() + "zz9]")), password);
}

TEST_F(TextToPasswordReading, TextAfterTheLastBracketIsIgnored) {
    EXPECT_EQ(TextToPassword(text + "[0041"), password);
    EXPECT_EQ(TextToPassword(text + "trailing junk"), password);
}

TEST_F(TextToPasswordReading, EmptyBracketPairEndsTheRead) {
    EXPECT_EQ(TextToPassword(text + "[][0041][0042]"), password);
    EXPECT_EQ(TextToPassword("[]" + text), TextToPassword(""));
}

TEST_F(TextToPasswordReading, APieceWithoutDigitsReadsAsZero) {
    const std::string zeroGroup = text.substr(0, high) + "[0000]" + text.substr(high + 6);
    EXPECT_EQ(TextToPassword(WithHighGroup("[xy]")), TextToPassword(zeroGroup));
    EXPECT_EQ(TextToPassword(WithHighGroup("zy]")), TextToPassword(zeroGroup));
}

TEST(TextToPassword, TextWithoutClosingBracketDeciphersOneZeroBlock) {
    std::vector<uint8_t> block(8, 0);
    CBlowfishCipher(kFixedKey).Decrypt(block.data(), 8, block.data());
    const std::string expected(block.begin(), std::find(block.begin(), block.end(), 0));

    EXPECT_EQ(TextToPassword(""), expected);
    EXPECT_EQ(TextToPassword("[0041[0042"), expected);
    EXPECT_EQ(TextToPassword("no brackets at all"), expected);
    EXPECT_LE(expected.size(), 8u);
}

TEST(GetNextPiece, ReturnsTextUpToTheDelimiterAndMovesPastIt) {
    const std::string text = "ab]cd;]e";
    size_t position = 0;
    EXPECT_EQ(GetNextPiece(text, "];", position), "ab");
    EXPECT_EQ(position, 3u);
    EXPECT_EQ(GetNextPiece(text, "];", position), "cd");
    EXPECT_EQ(position, 6u);
    EXPECT_EQ(GetNextPiece(text, "];", position), "");
    EXPECT_EQ(position, 7u);
}

TEST(GetNextPiece, WithoutAFurtherDelimiterReturnsEmptyAndKeepsThePosition) {
    size_t position = 3;
    EXPECT_EQ(GetNextPiece("ab]cdef", "]", position), "");
    EXPECT_EQ(position, 3u);
    position = 20;
    EXPECT_EQ(GetNextPiece("ab]", "]", position), "");
    EXPECT_EQ(position, 20u);
}

} // namespace
