#pragma once

#include <cstddef>
#include <cstdint>

// Base of the block ciphers: keeps a copy of the key, which is wiped when the cipher goes.
class CBlockCipher {
public:
    // Room for the key copy, its terminating zero included.
    static constexpr size_t kKeyCapacity = 100;

    virtual ~CBlockCipher();
    CBlockCipher(const CBlockCipher&) = delete;
    CBlockCipher& operator=(const CBlockCipher&) = delete;

    // Enciphers length bytes into destination; returns the bytes written there.
    virtual size_t Encrypt(const uint8_t* source, size_t length, uint8_t* destination) = 0;
    // Deciphers length bytes into destination; returns length.
    virtual size_t Decrypt(const uint8_t* source, size_t length, uint8_t* destination) = 0;

protected:
    // Copies at most kKeyCapacity - 1 bytes of the key.
    CBlockCipher(const uint8_t* key, size_t length);

    // The key bytes that were kept.
    const uint8_t* KeyBytes() const { return reinterpret_cast<const uint8_t*>(m_szKey); }
    // How many key bytes were kept.
    size_t KeyLength() const { return m_nKeyLength; }

private:
    char m_szKey[kKeyCapacity];
    size_t m_nKeyLength;
};
