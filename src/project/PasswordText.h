#pragma once

#include <cstddef>
#include <string>

// The password's stored text form: one "[XXXX]" group per cipher byte under the fixed key.

// The stored text of a password (any bytes; it ends at its first zero byte if it has one).
std::string PasswordToText(const std::string& password);

// The password that a stored text stands for; never fails, odd text gives odd bytes.
std::string TextToPassword(const std::string& text);

// The text from position up to the next character of delimiters, and position moved past
// that character; empty, with position unchanged, when no delimiter follows.
std::string GetNextPiece(const std::string& text, const char* delimiters, size_t& position);
