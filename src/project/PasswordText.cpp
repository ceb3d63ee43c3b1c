#include "project/PasswordText.h"

#include "project/BlowfishCipher.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const char* const kFixedKey = "Marrowind Kettle Ferrous Lantern";

// The group of one cipher byte: the byte taken as signed 8-bit and widened to 16 bits.
std::string GroupOfByte(uint8_t byte) {
    char group[7];
    const unsigned widened = static_cast<uint16_t>(static_cast<int16_t>(static_cast<int8_t>(byte)));
    std::snprintf(group, sizeof group, "[%4.4X]", widened);
    return group;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The low 8 bits of the hexadecimal number at the start of digits, read up to the first
// character that is no hex digit; no digits at all read as 0. Only the last two digits can
// reach the low 8 bits, so long numbers cannot overflow anything.
uint8_t LowByteOfHex(const std::string& digits) {
    uint8_t value = 0;
    for (char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            break;
        }
        value = static_cast<uint8_t>(value << 4 | digit);
    }
    return value;
}

// Deciphers bytes plus one zero byte, zero-filled to whole blocks.
std::vector<uint8_t> DecipherWithTerminator(std::vector<uint8_t> bytes) {
    const size_t length = CBlowfishCipher::GetOutputLength(bytes.size() + 1);
    bytes.resize(length, 0);
    CBlowfishCipher(kFixedKey).Decrypt(bytes.data(), length, bytes.data());
    return bytes;
}

} // namespace

std::string PasswordToText(const std::string& password) {
    const size_t plainLength = std::strlen(password.c_str()) + 1;
    std::vector<uint8_t> bytes(CBlowfishCipher::GetOutputLength(plainLength), 0);
    std::memcpy(bytes.data(), password.c_str(), plainLength);
    const size_t length =
        CBlowfishCipher(kFixedKey).Encrypt(bytes.data(), plainLength, bytes.data());

    std::string text;
    text.reserve(6 * length);
    for (size_t i = 0; i < length; ++i) {
        text += GroupOfByte(bytes[i]);
    }
    return text;
}

std::string TextToPassword(const std::string& text) {
    std::vector<uint8_t> bytes;
    size_t position = 0;
    for (;;) {
        const std::string piece = GetNextPiece(text, "]", position);
        if (piece.size() <= 1) {
            break; // nothing left, or an empty "[]"
        }
        bytes.push_back(LowByteOfHex(piece.substr(1)));
    }
    const std::vector<uint8_t> plain = DecipherWithTerminator(std::move(bytes));
    return std::string(plain.begin(), std::find(plain.begin(), plain.end(), uint8_t(0)));
}

std::string GetNextPiece(const std::string& text, const char* delimiters, size_t& position) {
    const size_t found = text.find_first_of(delimiters, position);
    if (found == std::string::npos) {
        return std::string();
    }
    std::string piece = text.substr(position, found - position);
    position = found + 1;
    return piece;
}
