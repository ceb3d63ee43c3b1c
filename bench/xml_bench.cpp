// Speed and index size of CXmlDocument on project files and on a large general XML text, with
// pugixml's default parse and its tree building as the yardstick in the same run.

#include "XmlBenchTexts.h"
#include "xml/XmlDocument.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <malloc.h>
#include <sstream>
#include <string>

namespace {

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

// Steady state on a warm heap: the allocator keeps what it was given, so that neither parser
// pays for returning its memory to the system and faulting it in again on every iteration
// (page faults are dear on virtual machines, and the two parsers allocate differently).
int main(int argc, char** argv) {
    mallopt(M_MMAP_THRESHOLD, 32 << 20); // the largest threshold glibc takes
    mallopt(M_TRIM_THRESHOLD, -1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
