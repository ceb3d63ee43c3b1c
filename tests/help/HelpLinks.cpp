#include "HelpLinks.h"

#include <regex>

namespace HelpLinks {

namespace {

// Quoted attribute values; the help pages quote every attribute.
std::vector<std::string> Captures(const std::string& text, const std::regex& pattern) {
    std::vector<std::string> values;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it)
        values.push_back((*it)[1].str());
    return values;
}

bool IsHtml(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot != std::string::npos && (path.substr(dot) == ".html" || path.substr(dot) == ".htm");
}

} // namespace

std::vector<std::string> LinksOf(const std::string& html) {
    static const std::regex link(R"re(\s(?:href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
    return Captures(html, link);
}

std::vector<std::string> SitemapEntries(const std::string& sitemap) {
    static const std::regex local(R"re(<param\s+name\s*=\s*"Local"\s+value\s*=\s*"([^"]*)")re",
                                  std::regex::icase);
    return Captures(sitemap, local);
}

std::set<std::string> AnchorsOf(const std::string& html) {
    static const std::regex id(R"re(\sid\s*=\s*"([^"]+)")re", std::regex::icase);
    static const std::regex name(R"re(<a\s[^>]*name\s*=\s*"([^"]+)")re", std::regex::icase);
    std::set<std::string> anchors;
    for (const std::string& value : Captures(html, id))
        anchors.insert(value);
    for (const std::string& value : Captures(html, name))
        anchors.insert(value);
    return anchors;
}

bool IsExternal(const std::string& link) {
    static const std::regex scheme("^[A-Za-z][A-Za-z0-9+.-]*:");
    return std::regex_search(link, scheme);
}

std::optional<std::string> Resolve(const std::string& pagePath, const std::string& link,
                                   std::string& fragment) {
    const size_t hash = link.find('#');
    fragment = hash == std::string::npos ? std::string() : link.substr(hash + 1);
    const std::string target = link.substr(0, hash);
    if (target.empty())
        return pagePath;
    std::vector<std::string> parts;
    std::string joined = target;
    if (target[0] != '/') {
        const size_t slash = pagePath.rfind('/');
        joined =
            (slash == std::string::npos ? std::string() : pagePath.substr(0, slash + 1)) + target;
    }
    size_t start = 0;
    while (start <= joined.size()) {
        const size_t end = std::min(joined.find('/', start), joined.size());
        const std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (parts.empty())
                return std::nullopt;
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string path;
    for (const std::string& part : parts)
        path += (path.empty() ? "" : "/") + part;
    return path;
}

std::vector<std::string> BrokenLinks(const std::string& pagePath,
                                     const std::vector<std::string>& links,
                                     const FileReader& read) {
    std::vector<std::string> broken;
    for (const std::string& link : links) {
        const auto report = [&](const std::string& why) {
            broken.push_back(pagePath + ": " + link + " (" + why + ")");
        };
        if (link.empty()) {
            report("empty");
            continue;
        }
        if (IsExternal(link))
            continue;
        std::string fragment;
        const std::optional<std::string> path = Resolve(pagePath, link, fragment);
        if (!path) {
            report("leads above the root");
            continue;
        }
        const std::optional<std::string> text = read(*path);
        if (!text) {
            report("no file " + *path);
            continue;
        }
        if (!fragment.empty() && (!IsHtml(*path) || AnchorsOf(*text).count(fragment) == 0))
            report(*path + " defines no #" + fragment);
    }
    return broken;
}

} // namespace HelpLinks
