// The link checker itself, on small made-up file sets: it must find each kind of fault.
#include "HelpLinks.h"

#include <gtest/gtest.h>

#include <map>

using namespace HelpLinks;

namespace {

FileReader ReaderOf(const std::map<std::string, std::string>& files) {
    return [files](const std::string& path) -> std::optional<std::string> {
        const auto found = files.find(path);
        if (found == files.end())
            return std::nullopt;
        return found->second;
    };
}

} // namespace

TEST(HelpLinksTest, FindsHrefAndSrcValuesInPageOrder) {
    const std::string page = R"(<link rel="stylesheet" href="style.css"><p><a href="a.html#x">a</a>
<img SRC="../pic.png" alt="p"> <a class="c" href = "http://example.com/">w</a></p>)";
    EXPECT_EQ(LinksOf(page), (std::vector<std::string>{"style.css", "a.html#x", "../pic.png",
                                                       "http://example.com/"}));
}

TEST(HelpLinksTest, FindsTheLocalValuesOfASitemap) {
    const std::string sitemap = R"(<UL><LI> <OBJECT type="text/sitemap">
    <param name="Name" value="First">
    <param name="Local" value="first.html">
    </OBJECT>
<LI> <OBJECT type="text/sitemap"><param name="Name" value="Second"><param name="Local" value="second.html#part"></OBJECT></UL>)";
    EXPECT_EQ(SitemapEntries(sitemap),
              (std::vector<std::string>{"first.html", "second.html#part"}));
}

TEST(HelpLinksTest, AnchorsAreIdsAndNamesOfLinks) {
    const std::string page =
        R"(<h2 id="one">1</h2><h2><a name="two">2</a></h2><meta name="keywords" content="x">)";
    EXPECT_EQ(AnchorsOf(page), (std::set<std::string>{"one", "two"}));
}

TEST(HelpLinksTest, ResolvesRelativeToThePagesFolder) {
    std::string fragment;
    EXPECT_EQ(Resolve("help/index.html", "window.html", fragment), "help/window.html");
    EXPECT_EQ(Resolve("help/index.html", "../screenshot.png", fragment), "screenshot.png");
    EXPECT_EQ(Resolve("index.html", "./a/../b.html#top", fragment), "b.html");
    EXPECT_EQ(fragment, "top");
    EXPECT_EQ(Resolve("index.html", "#top", fragment), "index.html");
    EXPECT_EQ(Resolve("index.html", "../screenshot.png", fragment), std::nullopt);
    EXPECT_EQ(Resolve("help/index.html", "/style.css", fragment), "style.css");
}

TEST(HelpLinksTest, SchemesLeadOutside) {
    EXPECT_TRUE(IsExternal("http://example.com/"));
    EXPECT_TRUE(IsExternal("mailto:help@example.com"));
    EXPECT_FALSE(IsExternal("window.html"));
    EXPECT_FALSE(IsExternal("#top"));
}

TEST(HelpLinksTest, ReportsEveryKindOfBrokenLinkAndNothingElse) {
    const FileReader read = ReaderOf({
        {"index.html", R"(<h1 id="top">Top</h1>)"},
        {"window.html", R"(<h2><a name="paths">Paths</a></h2>)"},
        {"screenshot.png", "png"},
    });
    const std::vector<std::string> links = {"window.html",
                                            "window.html#paths",
                                            "#top",
                                            "screenshot.png",
                                            "http://example.com",
                                            "missing.html",
                                            "window.html#nowhere",
                                            "../screenshot.png",
                                            "screenshot.png#top",
                                            ""};
    EXPECT_EQ(BrokenLinks("index.html", links, read),
              (std::vector<std::string>{
                  "index.html: missing.html (no file missing.html)",
                  "index.html: window.html#nowhere (window.html defines no #nowhere)",
                  "index.html: ../screenshot.png (leads above the root)",
                  "index.html: screenshot.png#top (screenshot.png defines no #top)",
                  "index.html:  (empty)",
              }));
}
