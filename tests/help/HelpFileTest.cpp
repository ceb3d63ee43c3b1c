// The built help file, read back: it holds every page of docs/help, its contents and its
// index, and every link in it leads to a file inside it. The pages are also checked where
// README points readers, as plain HTML in docs/help.
#include "ChmArchive.h"
#include "HelpLinks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace HelpLinks;
namespace fs = std::filesystem;

namespace {

const fs::path kHelpSource = BREVANE_HELP_SOURCE;

std::optional<std::string> ReadDiskFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file || fs::is_directory(path))
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The names of the pages in docs/help, sorted.
std::vector<std::string> SourcePages() {
    std::vector<std::string> pages;
    for (const fs::directory_entry& entry : fs::directory_iterator(kHelpSource)) {
        if (entry.path().extension() == ".html")
            pages.push_back(entry.path().filename().string());
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

// A page as the build puts it into the help file: the pictures of docs/ lie beside the
// pages there, so "../" goes from the pictures' paths.
std::string AsInHelpFile(std::string text) {
    const std::string from = "src=\"../";
    const std::string to = "src=\"";
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
        text.replace(at, from.size(), to);
    return text;
}

// The entries of a help file's #SYSTEM file by code: a 4-byte version, then entries of a
// 2-byte code, a 2-byte length and that many bytes (texts end in a zero byte).
std::map<int, std::string> SystemEntries(const std::string& system) {
    std::map<int, std::string> entries;
    const auto word = [&](size_t at) {
        return static_cast<unsigned char>(system[at]) | static_cast<unsigned char>(system[at + 1])
                                                            << 8;
    };
    size_t at = 4;
    while (at + 4 <= system.size()) {
        const int code = word(at);
        const size_t length = word(at + 2);
        at += 4;
        if (at + length > system.size())
            break;
        std::string value = system.substr(at, length);
        value.erase(std::find(value.begin(), value.end(), '\0'), value.end());
        entries[code] = value;
        at += length;
    }
    return entries;
}

constexpr int kSystemContentsFile = 0;
constexpr int kSystemIndexFile = 1;
constexpr int kSystemDefaultTopic = 2;

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

class HelpFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_help.IsOpen())
            << BREVANE_HELP_FILE << " cannot be read as a help file; is it built? (chmcmd, "
            << "from Debian's fp-utils, compiles it; scripts/deps installs it)";
    }

    FileReader HelpReader() const {
        return [this](const std::string& path) { return m_help.Read(path); };
    }

    CChmArchive m_help{BREVANE_HELP_FILE};
};

} // namespace

TEST_F(HelpFileTest, HoldsEveryPageOfDocsHelpAsWritten) {
    const std::vector<std::string> pages = SourcePages();
    ASSERT_FALSE(pages.empty());
    for (const std::string& page : pages) {
        const std::optional<std::string> source = ReadDiskFile(kHelpSource / page);
        ASSERT_TRUE(source) << page;
        const std::optional<std::string> compiled = m_help.Read(page);
        ASSERT_TRUE(compiled) << page << " is not in the help file";
        EXPECT_EQ(*compiled, AsInHelpFile(*source)) << page;
    }
}

TEST_F(HelpFileTest, HoldsItsContentsAndIndexAndNamesThemForTheViewer) {
    for (const char* name : {"toc.hhc", "index.hhk"}) {
        const std::optional<std::string> compiled = m_help.Read(name);
        ASSERT_TRUE(compiled) << name << " is not in the help file";
        EXPECT_EQ(*compiled, ReadDiskFile(kHelpSource / name).value_or("")) << name;
    }
    const std::optional<std::string> system = m_help.Read("#SYSTEM");
    ASSERT_TRUE(system);
    const std::map<int, std::string> entries = SystemEntries(*system);
    EXPECT_EQ(entries.count(kSystemContentsFile) ? entries.at(kSystemContentsFile) : "", "toc.hhc");
    EXPECT_EQ(entries.count(kSystemIndexFile) ? entries.at(kSystemIndexFile) : "", "index.hhk");
    ASSERT_EQ(entries.count(kSystemDefaultTopic), 1u);
    EXPECT_EQ(entries.at(kSystemDefaultTopic), "index.html");
    EXPECT_TRUE(m_help.Read(entries.at(kSystemDefaultTopic)));
}

TEST_F(HelpFileTest, EveryLinkOfEveryPageLeadsToAFileInside) {
    std::vector<std::string> broken;
    size_t pages = 0;
    size_t links = 0;
    for (const std::string& path : m_help.FilePaths()) {
        if (fs::path(path).extension() != ".html")
            continue;
        const std::vector<std::string> found = LinksOf(m_help.Read(path).value_or(""));
        ++pages;
        links += found.size();
        for (const std::string& fault : BrokenLinks(path, found, HelpReader()))
            broken.push_back(fault);
    }
    EXPECT_EQ(pages, SourcePages().size());
    // Every page links at least to its style sheet, and most to more.
    EXPECT_GT(links, 2 * pages);
    EXPECT_TRUE(broken.empty()) << "broken links in the help file:" << Joined(broken);
}

TEST_F(HelpFileTest, EveryEntryOfTheContentsAndIndexLeadsToAPageInside) {
    for (const char* name : {"toc.hhc", "index.hhk"}) {
        const std::vector<std::string> entries = SitemapEntries(m_help.Read(name).value_or(""));
        EXPECT_FALSE(entries.empty()) << name;
        const std::vector<std::string> broken = BrokenLinks(name, entries, HelpReader());
        EXPECT_TRUE(broken.empty()) << "broken entries:" << Joined(broken);
    }
}

TEST_F(HelpFileTest, TheContentsListEveryPage) {
    std::set<std::string> listed;
    for (const std::string& entry : SitemapEntries(m_help.Read("toc.hhc").value_or("")))
        listed.insert(entry.substr(0, entry.find('#')));
    for (const std::string& page : SourcePages())
        EXPECT_EQ(listed.count(page), 1u) << page << " is missing from the contents";
}

// README links docs/help/index.html: the same pages read from the repository, with the
// pictures of docs/ one folder up.
TEST(HelpPagesTest, EveryLinkOfThePlainPagesLeadsToAFileInDocs) {
    const fs::path docs = kHelpSource.parent_path();
    const FileReader read = [&docs](const std::string& path) { return ReadDiskFile(docs / path); };
    std::vector<std::string> broken;
    for (const std::string& page : SourcePages()) {
        const std::string path = "help/" + page;
        for (const std::string& fault : BrokenLinks(path, LinksOf(read(path).value_or("")), read))
            broken.push_back(fault);
    }
    EXPECT_TRUE(broken.empty()) << "broken links in docs/help:" << Joined(broken);
}
