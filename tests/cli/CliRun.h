#pragma once

#include "TempFolder.h"

#include <string>
#include <vector>

// What one run of the built tarvonscp-cli gave.
struct SCliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the companion with args, feeding input on standard input.
SCliResult RunCli(const std::vector<std::string>& args, const std::string& input = "");

// Runs the companion with args and its standard output sent to outputPath; the exit status.
int RunCliWithOutputTo(const std::vector<std::string>& args, const std::string& outputPath);
