#include "project/BlockCipher.h"

#include <algorithm>
#include <cstring>

CBlockCipher::CBlockCipher(const uint8_t* key, size_t length)
    : m_nKeyLength(std::min(length, kKeyCapacity - 1)) {
    std::memset(m_szKey, 0, sizeof m_szKey);
    std::memcpy(m_szKey, key, m_nKeyLength);
}

CBlockCipher::~CBlockCipher() {
    // Through a volatile pointer, so the compiler cannot drop the wipe as a dead store.
    volatile char* key = m_szKey;
    for (size_t i = 0; i < kKeyCapacity; ++i) {
        key[i] = 0;
    }
}
