#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Links of help pages and of their contents and index, and whether they lead somewhere in a
// set of files; the set is a help file's archive or a folder on disk.
namespace HelpLinks {

// The text of the file at a '/'-separated path from the set's root, or nothing when missing.
using FileReader = std::function<std::optional<std::string>(const std::string& path)>;

// The values of every href and src attribute of a page, in page order.
std::vector<std::string> LinksOf(const std::string& html);

// The Local values of a contents (.hhc) or index (.hhk) file, in file order.
std::vector<std::string> SitemapEntries(const std::string& sitemap);

// The fragment names a page defines: every id attribute and the name of every <a>.
std::set<std::string> AnchorsOf(const std::string& html);

// True for a link with a scheme ("http:", "mailto:"), which leads outside the set.
bool IsExternal(const std::string& link);

// The path that link leads to from the page at pagePath, "." and ".." applied; nothing when
// it climbs above the root. The fragment (after '#') goes into fragment.
std::optional<std::string> Resolve(const std::string& pagePath, const std::string& link,
                                   std::string& fragment);

// Every link of links, written in the page at pagePath, that leads to no file of the set or
// to a fragment that its page does not define, as "page: link (why)".
std::vector<std::string> BrokenLinks(const std::string& pagePath,
                                     const std::vector<std::string>& links, const FileReader& read);

} // namespace HelpLinks
