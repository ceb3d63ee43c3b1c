#pragma once

#include "project/ProjectFile.h"

#include <cstdint>
#include <cstdio>
#include <string>

// Reading inputs whole, with a size limit.

// The largest input read, project or JSON: the window's bound for project files.
constexpr uint64_t kMaxInputBytes = ProjectFile::kMaxFileBytes;

// Reads a whole file ("-" for standard input). False with a message in error when it cannot
// be read or is larger than kMaxInputBytes.
bool ReadInput(const std::string& path, std::string& content, std::string& error);

// How messages name an input path: quoted, or "standard input" for "-".
std::string DescribeInput(const std::string& path);

// Reads a whole stream, at most kMaxInputBytes; what names the stream in messages.
bool ReadStream(std::FILE* stream, const std::string& what, std::string& content,
                std::string& error);
