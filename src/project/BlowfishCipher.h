#pragma once

#include "project/BlockCipher.h"

#include <string>
#include <vector>

// The published 64-bit block cipher (16 rounds, tables from the digits of pi), each block of
// 8 bytes on its own with little-endian halves.
class CBlowfishCipher final : public CBlockCipher {
public:
    // Keys with the characters of the text (at most 99); the text must not be empty.
    explicit CBlowfishCipher(const std::string& key);
    // Keys with raw bytes (at most 99), for keys that hold zero bytes.
    CBlowfishCipher(const uint8_t* key, size_t length);
    ~CBlowfishCipher() override;

    // Copies, zero-fills to whole blocks and enciphers each block; returns the padded length.
    size_t Encrypt(const uint8_t* source, size_t length, uint8_t* destination) override;
    // Copies and deciphers each block that length touches; returns length. The destination
    // must hold whole blocks, and the bytes of the last block beyond length take part.
    size_t Decrypt(const uint8_t* source, size_t length, uint8_t* destination) override;

    // length rounded up to a multiple of the 8-byte block.
    static size_t GetOutputLength(size_t length);

    // Enciphers one block given as its two halves, in place.
    void EncipherBlock(uint32_t& left, uint32_t& right) const;
    // Deciphers one block given as its two halves, in place.
    void DecipherBlock(uint32_t& left, uint32_t& right) const;

private:
    void RunKeySchedule();
    uint32_t F(uint32_t x) const;
    void ForEachBlock(uint8_t* data, size_t blocks, bool encipher) const;

    std::vector<uint32_t> m_pPArray;
    std::vector<uint32_t> m_pSBoxes;
};
