// One parse in a fresh process, as the window loads a project: each parser in turn in a new
// process of its own, interleaved, so that neither profits from a heap the other warmed.
// Prints the medians over many processes of the parse's time (the file already read) and of
// the process's peak memory.
//
//   xml_cold_bench [PROCESSES]       the comparison (default 41 processes per parser and text)
//   xml_cold_bench --probe PARSER FILE   one parse (ours or pugi); prints "NANOSECONDS PEAK_KIB"

#include "XmlBenchTexts.h"
#include "xml/XmlDocument.h"

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct SSample {
    double milliseconds = 0;
    double peakMiB = 0;
};

std::string ReadFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

int Probe(const std::string& parser, const char* path) {
    const std::string text = ReadFile(path);
    const auto start = std::chrono::steady_clock::now();
    bool parsed = false;
    if (parser == "ours") {
        CXmlDocument doc;
        parsed = doc.Parse(text.c_str());
    } else {
        pugi::xml_document doc;
        parsed = static_cast<bool>(doc.load_buffer(text.data(), text.size()));
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%lld %ld\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count()),
                usage.ru_maxrss);
    return parsed ? 0 : 1;
}

// Runs this program as a probe and reads what it printed.
bool RunProbe(const char* self, const char* parser, const std::string& file, SSample& sample) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execl(self, self, "--probe", parser, file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    char line[128] = {};
    const ssize_t count = read(pipeEnds[0], line, sizeof line - 1);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    long long nanoseconds = 0;
    long peakKiB = 0;
    if (count <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(line, "%lld %ld", &nanoseconds, &peakKiB) != 2)
        return false;
    sample.milliseconds = static_cast<double>(nanoseconds) / 1e6;
    sample.peakMiB = static_cast<double>(peakKiB) / 1024.0;
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void Compare(const char* self, const char* label, const std::string& file, int processes) {
    std::vector<double> times[2];
    std::vector<double> peaks[2];
    const char* const parsers[2] = {"ours", "pugi"};
    for (int round = 0; round < processes; ++round) {
        // Alternate which goes first, so that neither always follows the other.
        for (int turn = 0; turn < 2; ++turn) {
            const int which = (round + turn) % 2;
            SSample sample;
            if (!RunProbe(self, parsers[which], file, sample)) {
                std::printf("%-28s %s failed\n", label, parsers[which]);
                return;
            }
            times[which].push_back(sample.milliseconds);
            peaks[which].push_back(sample.peakMiB);
        }
    }
    const double ours = Median(times[0]);
    const double pugi = Median(times[1]);
    std::printf("%-28s %9.2f ms %9.2f ms %7.2fx %8.1f MiB %8.1f MiB\n", label, ours, pugi,
                pugi / ours, Median(peaks[0]), Median(peaks[1]));
}

std::string WriteTemporary(const std::string& text, const char* name) {
    const std::string path =
        std::string("/tmp/xml_cold_bench_") + std::to_string(getpid()) + "_" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--probe") == 0)
        return Probe(argv[2], argv[3]);
    const int processes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 41;
    const std::string project = WriteTemporary(ProjectText(100000), "project.xml");
    const std::string general = WriteTemporary(GeneralText(), "general.xml");
    std::printf("%d processes per parser and text; medians; parse time after reading the file\n",
                processes);
    std::printf("%-28s %12s %12s %8s %12s %12s\n", "text", "ours", "pugixml", "ratio", "peak ours",
                "peak pugixml");
    Compare(argv[0], "project, 100,000 File", project, processes);
    Compare(argv[0], "generated 8 MB document", general, processes);
    if (access(kSystemXmlFile, R_OK) == 0)
        Compare(argv[0], "freedesktop.org.xml", kSystemXmlFile, processes);
    unlink(project.c_str());
    unlink(general.c_str());
    return 0;
}
