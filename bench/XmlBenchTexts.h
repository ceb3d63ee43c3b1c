#pragma once

#include <string>

// The texts the XML benchmarks parse, the same for every harness.

// A large XML file that Debian installs (a DOCTYPE with an internal subset); its text is
// empty where it is missing.
extern const char* const kSystemXmlFile;

// The path of upload entry index, as a Windows build folder would list it.
std::string FilePath(int index);
// The text a project with the given number of upload entries is saved as.
std::string ProjectText(int entries);
// About 8 MB of a general document: a declaration, comments, nesting four levels deep,
// attributes, character references, empty elements and indentation.
std::string GeneralText();
// The text of kSystemXmlFile.
std::string SystemText();
