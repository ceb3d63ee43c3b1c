#pragma once

#include "xml/XmlDocument.h"

#include <string>

// Checks that every indexed element lies inside the text, on the right characters, inside its
// parent, and that the links form a tree (each element reached once, from its own parent).
void ExpectIndexSound(const CXmlDocument& document);

// Checks that a document's text parses again to elements at the same offsets and nesting.
void ExpectReparsesToSameIndex(const CXmlDocument& document);

// The text of an element, from the '<' of its start tag to its last '>'.
std::string ElementText(const CXmlDocument& document, int index);
