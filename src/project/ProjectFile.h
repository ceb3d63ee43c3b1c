#pragma once

#include "project/Project.h"

#include <string>

// The XML form of a project: the exact text written on save, and the load rules.
namespace ProjectFile {

// The file's text for the project, byte for byte.
std::string Save(const SProject& project);

// Applies a file's text to the project: the upload list is emptied and every value found
// (forward only, in file order) replaces the project's; the others stay. False when the
// text is not a project (empty, unparsable, or another root element); the project is then
// unchanged. The text is cut at its first zero byte.
bool Load(const std::string& text, SProject& project);

} // namespace ProjectFile
