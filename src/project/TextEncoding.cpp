#include "project/TextEncoding.h"

#include <cstdint>
#include <cwctype>

#ifdef _WIN32
#include <windows.h>
#else
#include <locale.h>
#include <wctype.h>
#endif

namespace {

// Code points of the bytes 0x80 to 0x9F; the other bytes are the code points of equal value.
const char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsContinuation(uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed sequence at bytes[at], or 0 when it is not one.
size_t SequenceLength(const std::string& bytes, size_t at) {
    const auto byteAt = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    const uint8_t lead = byteAt(at);
    size_t length = 0;
    uint8_t secondMin = 0x80;
    uint8_t secondMax = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        secondMin = lead == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        secondMax = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        secondMin = lead == 0xF0 ? 0x90 : 0x80; // no overlong forms
        secondMax = lead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (at + length > bytes.size() || byteAt(at + 1) < secondMin || byteAt(at + 1) > secondMax) {
        return 0;
    }
    for (size_t i = 2; i < length; ++i) {
        if (!IsContinuation(byteAt(at + i))) {
            return 0;
        }
    }
    return length;
}

char32_t DecodeSequence(const std::string& bytes, size_t at, size_t length) {
    static const uint8_t kLeadMask[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t code = static_cast<uint8_t>(bytes[at]) & kLeadMask[length];
    for (size_t i = 1; i < length; ++i) {
        code = code << 6 | (static_cast<uint8_t>(bytes[at + i]) & 0x3F);
    }
    return code;
}

// The lower case of the upper case, in the system's locale-independent mapping.
#ifdef _WIN32
char32_t LowerOfUpper(char32_t code) {
    // The invariant mapping takes UTF-16 units; outside the BMP a character stays as it is.
    if (code > 0xFFFF) {
        return code;
    }
    wchar_t unit = static_cast<wchar_t>(code);
    LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, &unit, 1, &unit, 1);
    LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, &unit, 1, &unit, 1);
    return unit;
}
#else
char32_t LowerOfUpper(char32_t code) {
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    if (unicode == locale_t(0)) {
        return code < 0x80 ? static_cast<char32_t>(std::towlower(code)) : code;
    }
    return static_cast<char32_t>(towlower_l(towupper_l(code, unicode), unicode));
}
#endif

// Simple case folding: the lower case of the upper case, which also joins final sigma, long
// s and the like with their letters. The dotted capital I and the dotless small i have no
// simple folding and stay apart from I and i.
char32_t FoldCase(char32_t code) {
    if (code == 0x130 || code == 0x131) {
        return code;
    }
    return LowerOfUpper(code);
}

void AppendUtf16(char32_t code, std::u16string& out) {
    if (code < 0x10000) {
        out += static_cast<char16_t>(code);
    } else {
        code -= 0x10000;
        out += static_cast<char16_t>(0xD800 | code >> 10);
        out += static_cast<char16_t>(0xDC00 | (code & 0x3FF));
    }
}

} // namespace

std::u16string CaseFoldedUtf16(const std::string& utf8) {
    std::u16string folded;
    folded.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        const size_t length = SequenceLength(utf8, at);
        AppendUtf16(length == 0 ? U'\uFFFD' : FoldCase(DecodeSequence(utf8, at, length)), folded);
        at += length == 0 ? 1 : length;
    }
    return folded;
}

bool IsValidUtf8(const std::string& bytes) {
    for (size_t at = 0; at < bytes.size();) {
        const size_t length = SequenceLength(bytes, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

std::string Windows1252ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const uint8_t byte = static_cast<uint8_t>(c);
        AppendUtf8(byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte, out);
    }
    return out;
}

std::string AsUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    size_t lineStart = 0;
    while (lineStart <= bytes.size()) {
        size_t lineEnd = bytes.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = bytes.size();
        const std::string line = bytes.substr(lineStart, lineEnd - lineStart);
        out += IsValidUtf8(line) ? line : Windows1252ToUtf8(line);
        if (lineEnd < bytes.size())
            out += '\n';
        lineStart = lineEnd + 1;
    }
    return out;
}
