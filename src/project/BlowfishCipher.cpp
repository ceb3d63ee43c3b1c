#include "project/BlowfishCipher.h"

#include "project/BlowfishTables.h"

#include <cstring>
#include <utility>

namespace {

constexpr size_t kBlockSize = 8;
constexpr size_t kRounds = 16;

uint32_t ReadHalf(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

void WriteHalf(uint32_t half, uint8_t* bytes) {
    for (size_t i = 0; i < 4; ++i) {
        bytes[i] = uint8_t(half >> (8 * i));
    }
}

// Copies length bytes unless both buffers are the same one.
void CopyUnlessSame(const uint8_t* source, size_t length, uint8_t* destination) {
    if (source != destination && length > 0) {
        std::memmove(destination, source, length);
    }
}

} // namespace

CBlowfishCipher::CBlowfishCipher(const std::string& key)
    : CBlowfishCipher(reinterpret_cast<const uint8_t*>(key.data()), key.size()) {
}

CBlowfishCipher::CBlowfishCipher(const uint8_t* key, size_t length)
    : CBlockCipher(key, length),
      m_pPArray(kBlowfishInitialPArray, kBlowfishInitialPArray + kBlowfishSubkeys),
      m_pSBoxes(kBlowfishInitialSBoxes,
                kBlowfishInitialSBoxes + kBlowfishBoxes * kBlowfishBoxEntries) {
    RunKeySchedule();
}

CBlowfishCipher::~CBlowfishCipher() = default;

size_t CBlowfishCipher::GetOutputLength(size_t length) {
    return (length + kBlockSize - 1) / kBlockSize * kBlockSize;
}

void CBlowfishCipher::RunKeySchedule() {
    // The key is read cyclically, most significant byte first. An empty key mixes in
    // nothing rather than dividing by zero.
    const uint8_t* key = KeyBytes();
    const size_t n = KeyLength();
    size_t j = 0;
    for (uint32_t& subkey : m_pPArray) {
        if (n == 0) {
            break;
        }
        uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k) {
            word = word << 8 | key[(j + k) % n];
        }
        subkey ^= word;
        j = (j + 4) % n;
    }

    uint32_t left = 0;
    uint32_t right = 0;
    for (std::vector<uint32_t>* table : {&m_pPArray, &m_pSBoxes}) {
        for (size_t i = 0; i < table->size(); i += 2) {
            EncipherBlock(left, right);
            (*table)[i] = left;
            (*table)[i + 1] = right;
        }
    }
}

uint32_t CBlowfishCipher::F(uint32_t x) const {
    const uint32_t* box = m_pSBoxes.data();
    return ((box[x >> 24] + box[256 + ((x >> 16) & 255)]) ^ box[512 + ((x >> 8) & 255)]) +
           box[768 + (x & 255)];
}

void CBlowfishCipher::EncipherBlock(uint32_t& left, uint32_t& right) const {
    uint32_t l = left;
    uint32_t r = right;
    for (size_t round = 0; round < kRounds; ++round) {
        l ^= m_pPArray[round];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= m_pPArray[16];
    l ^= m_pPArray[17];
    left = l;
    right = r;
}

void CBlowfishCipher::DecipherBlock(uint32_t& left, uint32_t& right) const {
    uint32_t l = left;
    uint32_t r = right;
    for (size_t round = kRounds + 1; round > 1; --round) {
        l ^= m_pPArray[round];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= m_pPArray[1];
    l ^= m_pPArray[0];
    left = l;
    right = r;
}

void CBlowfishCipher::ForEachBlock(uint8_t* data, size_t blocks, bool encipher) const {
    for (size_t b = 0; b < blocks; ++b) {
        uint8_t* block = data + b * kBlockSize;
        uint32_t left = ReadHalf(block);
        uint32_t right = ReadHalf(block + 4);
        if (encipher) {
            EncipherBlock(left, right);
        } else {
            DecipherBlock(left, right);
        }
        WriteHalf(left, block);
        WriteHalf(right, block + 4);
    }
}

size_t CBlowfishCipher::Encrypt(const uint8_t* source, size_t length, uint8_t* destination) {
    CopyUnlessSame(source, length, destination);
    const size_t output = GetOutputLength(length);
    if (output > length) {
        std::memset(destination + length, 0, output - length);
    }
    ForEachBlock(destination, output / kBlockSize, true);
    return output;
}

size_t CBlowfishCipher::Decrypt(const uint8_t* source, size_t length, uint8_t* destination) {
    CopyUnlessSame(source, length, destination);
    ForEachBlock(destination, GetOutputLength(length) / kBlockSize, false);
    return length;
}
