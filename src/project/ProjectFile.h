#pragma once

#include "project/Project.h"

#include <cstdint>
#include <string>

// The XML form of a project: the exact text written on save, and the load rules.
namespace ProjectFile {

// The largest file taken for a project: far above any real one, far below memory trouble.
constexpr uint64_t kMaxFileBytes = 256ull * 1024 * 1024;

// The file's text for the project, byte for byte.
std::string Save(const SProject& project);

// Applies a file's text to the project. False, with the project unchanged, when the text
// is not a project (empty, unparsable, or no root element ProjectDetail). Otherwise the
// upload list is emptied, each of the thirteen values is looked for in the order the file
// is written, forward only (an element before one already found is not seen), and replaces
// the project's value when found; the File entries of Files are added in file order. The
// version is not checked. The text is cut at its first zero byte.
bool Load(const std::string& text, SProject& project);

} // namespace ProjectFile
