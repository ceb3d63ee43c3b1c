// Speed and index size of CXmlDocument on project files and on a large general XML text, with
// pugixml's default parse and its tree building as the yardstick in the same run.

#include "xml/XmlDocument.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

// A large XML file that Debian installs; used when present, in addition to the generated one.
constexpr const char* kSystemXmlFile = "/usr/share/mime/packages/freedesktop.org.xml";

std::string FilePath(int index) {
    char path[64];
    std::snprintf(path, sizeof path, "C:\\Build\\Product\\bin\\module%06d.dll", index);
    return path;
}

// The text a project with the given number of upload entries is saved as.
std::string ProjectText(int entries) {
    static const char* const values[][2] = {
        {"ScriptFile", "C:\\Scripts\\update.tsc"},
        {"INIpath", "C:\\Windows\\TarvonSvc4.ini"},
        {"LogPath", "C:\\Windows\\System32\\TarvonSvc4.log"},
        {"ScriptURL", "http://updates.example.com/product/script.tsc"},
        {"FTPServer", "ftp.example.com"},
        {"Username", "publisher"},
        {"Password", "[0A1B2C3D4E5F67890A1B2C3D4E5F6789]"},
        {"PASV", "Y"},
        {"Preconfig", "N"},
        {"ProxyServer", "proxy.example.com:8080"},
        {"ServerFolder", "/pub/updates/product"},
        {"Timeout", "30000"},
        {"UseProxy", "N"},
    };
    std::string text = "<ProjectDetail TarvonSCPProjectVer=\"1.00\">\r\n";
    for (const auto& value : values)
        text += std::string("<") + value[0] + ">" + value[1] + "</" + value[0] + ">\r\n";
    text += "<Files>\r\n";
    for (int i = 0; i < entries; ++i)
        text += "<File>" + FilePath(i) + "</File>\r\n";
    return text + "</Files>\r\n</ProjectDetail>\r\n";
}

// About 8 MB of a general document: a declaration, comments, nesting four levels deep,
// attributes, character references, empty elements and indentation.
std::string GeneralText() {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- catalogue -->\n"
                       "<catalog xmlns=\"urn:example:catalog\" version=\"3\">\n";
    for (int s = 0; s < 400; ++s) {
        const std::string section = std::to_string(s);
        text += "  <section id=\"s" + section + "\" title=\"Section " + section + "\">\n";
        text += "    <!-- items of section " + section + " -->\n";
        for (int i = 0; i < 50; ++i) {
            const std::string item = section + "-" + std::to_string(i);
            text +=
                "    <item id=\"i" + item + "\" price=\"" + std::to_string(i * 7 % 100) +
                ".50\" available='true'>\n"
                "      <name>Item " +
                item +
                " &amp; accessories</name>\n"
                "      <description>A longer description of item " +
                item +
                ", with &lt;markup&gt; in words and some ordinary prose to carry the text "
                "along as real catalogues do.</description>\n"
                "      <tags><tag>alpha</tag><tag>beta</tag><tag kind=\"x\">gamma</tag></tags>\n"
                "      <stock warehouse=\"north\"/><stock warehouse=\"south\"/>\n"
                "    </item>\n";
        }
        text += "  </section>\n";
    }
    return text + "</catalog>\n";
}

std::string SystemText() {
    std::ifstream file(kSystemXmlFile, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

const std::string& CachedProject(int entries) {
    static std::string texts[3];
    std::string& text = texts[entries <= 10 ? 0 : entries <= 1000 ? 1 : 2];
    if (text.empty())
        text = ProjectText(entries);
    return text;
}

const std::string& CachedGeneral() {
    static const std::string text = GeneralText();
    return text;
}

const std::string& CachedSystem() {
    static const std::string text = SystemText();
    return text;
}

void ParseOurs(benchmark::State& state, const std::string& text) {
    if (text.empty()) {
        state.SkipWithError("no such file");
        return;
    }
    int elements = 0;
    int capacity = 0;
    for (auto _ : state) {
        CXmlDocument doc;
        if (!doc.Parse(text.c_str())) {
            state.SkipWithError("parse failed");
            return;
        }
        elements = doc.RecordsUsed() - 1;
        capacity = doc.RecordCapacity();
        benchmark::DoNotOptimize(elements);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["elements"] = elements;
    state.counters["index_bytes_per_element"] =
        static_cast<double>(capacity) * sizeof(CXmlDocument::ElementRecord) / elements;
}

void ParsePugi(benchmark::State& state, const std::string& text) {
    if (text.empty()) {
        state.SkipWithError("no such file");
        return;
    }
    for (auto _ : state) {
        pugi::xml_document doc;
        const pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
        if (!result) {
            state.SkipWithError(result.description());
            return;
        }
        benchmark::DoNotOptimize(doc.first_child());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_ParseProject_Ours(benchmark::State& state) {
    ParseOurs(state, CachedProject(static_cast<int>(state.range(0))));
}
void BM_ParseProject_Pugi(benchmark::State& state) {
    ParsePugi(state, CachedProject(static_cast<int>(state.range(0))));
}
void BM_ParseGeneral_Ours(benchmark::State& state) {
    ParseOurs(state, CachedGeneral());
}
void BM_ParseGeneral_Pugi(benchmark::State& state) {
    ParsePugi(state, CachedGeneral());
}
void BM_ParseSystemFile_Ours(benchmark::State& state) {
    ParseOurs(state, CachedSystem());
}
void BM_ParseSystemFile_Pugi(benchmark::State& state) {
    ParsePugi(state, CachedSystem());
}

// The save sequence of a project: root, version, one list element and its File children.
std::string BuildOurs(int entries) {
    CXmlDocument doc;
    doc.AppendElement("ProjectDetail");
    doc.SetAttribute("TarvonSCPProjectVer", "1.00");
    doc.AppendChild("Files");
    doc.Descend();
    for (int i = 0; i < entries; ++i)
        doc.AppendChild("File", FilePath(i).c_str());
    return doc.GetDocumentText();
}

// The same tree with pugixml, saved without indentation or declaration, as ours is written.
std::string BuildPugi(int entries) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("ProjectDetail");
    root.append_attribute("TarvonSCPProjectVer").set_value("1.00");
    pugi::xml_node files = root.append_child("Files");
    for (int i = 0; i < entries; ++i)
        files.append_child("File").text().set(FilePath(i).c_str());
    std::ostringstream stream;
    doc.save(stream, "", pugi::format_raw | pugi::format_no_declaration);
    return stream.str();
}

void BM_Build_Ours(benchmark::State& state) {
    size_t size = 0;
    for (auto _ : state) {
        const std::string text = BuildOurs(static_cast<int>(state.range(0)));
        size = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

void BM_Build_Pugi(benchmark::State& state) {
    size_t size = 0;
    for (auto _ : state) {
        const std::string text = BuildPugi(static_cast<int>(state.range(0)));
        size = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

// Appending alone, without the final copy of the text: the time must grow with the count.
void BM_AppendChildren(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CXmlDocument doc;
        doc.AppendElement("Files");
        for (int i = 0; i < count; ++i)
            doc.AppendChild("File", "C:\\Build\\Product\\bin\\module.dll");
        benchmark::DoNotOptimize(doc.RecordsUsed());
    }
    state.counters["per_child_ns"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_ParseProject_Ours)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(BM_ParseProject_Pugi)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(BM_ParseGeneral_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseGeneral_Pugi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseSystemFile_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseSystemFile_Pugi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Build_Ours)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Build_Pugi)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendChildren)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
