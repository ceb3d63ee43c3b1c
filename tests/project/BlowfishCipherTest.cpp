#include "project/BlowfishCipher.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The published set of ECB vectors: key, plain block and cipher block, big-endian hex.
struct Vector {
    const char* key;
    const char* plain;
    const char* cipher;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Vector& c, std::ostream* os) {
    *os << "key " << c.key << " plain " << c.plain;
}

const Vector kPublishedVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
    {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
    {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
    {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
    {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
    {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
    {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
    {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
    {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
    {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
    {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
    {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
    {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
    {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
    {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
    {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
    {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
    {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
    {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
    {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
    {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
};

std::array<uint8_t, 8> BytesOf(const char* hex) {
    std::array<uint8_t, 8> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(std::stoul(std::string(hex + 2 * i, 2), nullptr, 16));
    }
    return bytes;
}

uint32_t BigEndianWord(const std::array<uint8_t, 8>& bytes, size_t offset) {
    return uint32_t(bytes[offset]) << 24 | uint32_t(bytes[offset + 1]) << 16 |
           uint32_t(bytes[offset + 2]) << 8 | uint32_t(bytes[offset + 3]);
}

// The block in the cipher's own byte layout: each 4-byte half reversed.
std::array<uint8_t, 8> HalvesReversed(std::array<uint8_t, 8> bytes) {
    std::swap(bytes[0], bytes[3]);
    std::swap(bytes[1], bytes[2]);
    std::swap(bytes[4], bytes[7]);
    std::swap(bytes[5], bytes[6]);
    return bytes;
}

class PublishedVector : public testing::TestWithParam<Vector> {
protected:
    CBlowfishCipher MakeCipher() const {
        const std::array<uint8_t, 8> key = BytesOf(GetParam().key);
        return CBlowfishCipher(key.data(), key.size());
    }
};

TEST_P(PublishedVector, EncipherBlockOnHalvesAsIntegers) {
    const CBlowfishCipher cipher = MakeCipher();
    const auto plain = BytesOf(GetParam().plain);
    const auto expected = BytesOf(GetParam().cipher);
    uint32_t left = BigEndianWord(plain, 0);
    uint32_t right = BigEndianWord(plain, 4);

    cipher.EncipherBlock(left, right);
    EXPECT_EQ(left, BigEndianWord(expected, 0));
    EXPECT_EQ(right, BigEndianWord(expected, 4));

    cipher.DecipherBlock(left, right);
    EXPECT_EQ(left, BigEndianWord(plain, 0));
    EXPECT_EQ(right, BigEndianWord(plain, 4));
}

TEST_P(PublishedVector, EncryptOnBytesWithEachHalfReversed) {
    CBlowfishCipher cipher = MakeCipher();
    const auto plain = HalvesReversed(BytesOf(GetParam().plain));
    std::array<uint8_t, 8> buffer{};

    EXPECT_EQ(cipher.Encrypt(plain.data(), plain.size(), buffer.data()), 8u);
    EXPECT_EQ(buffer, HalvesReversed(BytesOf(GetParam().cipher)));

    EXPECT_EQ(cipher.Decrypt(buffer.data(), buffer.size(), buffer.data()), 8u);
    EXPECT_EQ(buffer, plain);
}

INSTANTIATE_TEST_SUITE_P(StandardSet, PublishedVector, testing::ValuesIn(kPublishedVectors));

TEST(BlowfishCipher, OutputLengthRoundsUpToWholeBlocks) {
    EXPECT_EQ(CBlowfishCipher::GetOutputLength(0), 0u);
    EXPECT_EQ(CBlowfishCipher::GetOutputLength(1), 8u);
    EXPECT_EQ(CBlowfishCipher::GetOutputLength(7), 8u);
    EXPECT_EQ(CBlowfishCipher::GetOutputLength(8), 8u);
    EXPECT_EQ(CBlowfishCipher::GetOutputLength(9), 16u);
    EXPECT_EQ(CBlowfishCipher::GetOutputLength(64), 64u);
}

TEST(BlowfishCipher, EncryptZeroFillsTheLastBlockBeforeEnciphering) {
    CBlowfishCipher cipher("some key");
    const uint8_t plain[3] = {'a', 'b', 'c'};
    std::vector<uint8_t> padded(8, 0xEE); // stale bytes that must not take part
    EXPECT_EQ(cipher.Encrypt(plain, sizeof plain, padded.data()), 8u);

    std::vector<uint8_t> explicitZeros = {'a', 'b', 'c', 0, 0, 0, 0, 0};
    cipher.Encrypt(explicitZeros.data(), 8, explicitZeros.data());
    EXPECT_EQ(padded, explicitZeros);
}

TEST(BlowfishCipher, EqualPlainBlocksGiveEqualCipherBlocks) {
    CBlowfishCipher cipher("Marrowind Kettle Ferrous Lantern");
    std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<uint8_t> plain = data;
    cipher.Encrypt(data.data(), data.size(), data.data());
    EXPECT_NE(data, plain);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 8, data.begin() + 8));
}

TEST(BlowfishCipher, DecryptOfAPartialBlockUsesTheWholeBlockAndReturnsTheLength) {
    CBlowfishCipher cipher("k");
    std::vector<uint8_t> data = {'x', 'y', 'z', 'w', 0, 0, 0, 0};
    cipher.Encrypt(data.data(), 8, data.data());
    EXPECT_EQ(cipher.Decrypt(data.data(), 5, data.data()), 5u);
    EXPECT_EQ(data, (std::vector<uint8_t>{'x', 'y', 'z', 'w', 0, 0, 0, 0}));
    EXPECT_EQ(cipher.Decrypt(data.data(), 0, data.data()), 0u);
}

TEST(BlowfishCipher, SeparateBuffersLeaveTheSourceAlone) {
    CBlowfishCipher cipher("k");
    const std::vector<uint8_t> source = {9, 8, 7, 6, 5, 4, 3, 2, 1};
    std::vector<uint8_t> enciphered(16);
    EXPECT_EQ(cipher.Encrypt(source.data(), source.size(), enciphered.data()), 16u);
    std::vector<uint8_t> deciphered(16);
    EXPECT_EQ(cipher.Decrypt(enciphered.data(), 16, deciphered.data()), 16u);
    EXPECT_EQ(source, (std::vector<uint8_t>{9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(deciphered, (std::vector<uint8_t>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(BlowfishCipher, TextKeyEqualsTheSameRawBytes) {
    const std::string key = "Marrowind Kettle Ferrous Lantern";
    uint32_t l1 = 0x01234567, r1 = 0x89ABCDEF, l2 = l1, r2 = r1;
    CBlowfishCipher(key).EncipherBlock(l1, r1);
    CBlowfishCipher(reinterpret_cast<const uint8_t*>(key.data()), key.size()).EncipherBlock(l2, r2);
    EXPECT_EQ(l1, l2);
    EXPECT_EQ(r1, r2);
}

TEST(BlowfishCipher, EmptyKeyStillEnciphersReversibly) {
    CBlowfishCipher cipher("");
    uint32_t left = 0xDEADBEEF, right = 0x0BADF00D;
    cipher.EncipherBlock(left, right);
    EXPECT_FALSE(left == 0xDEADBEEF && right == 0x0BADF00D);
    cipher.DecipherBlock(left, right);
    EXPECT_EQ(left, 0xDEADBEEFu);
    EXPECT_EQ(right, 0x0BADF00Du);
}

} // namespace
