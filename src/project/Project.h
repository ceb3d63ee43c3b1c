#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The values of one project, with the window's initial values.
struct SProject {
    std::string scriptFile;
    std::string iniPath;
    std::string logPath;
    std::string scriptURL;
    std::string ftpServer;
    std::string username;
    std::string password;
    bool pasv = false;
    bool preconfig = false;
    std::string proxyServer;
    std::string serverFolder;
    uint32_t timeout = 15000;
    bool useProxy = true;
    std::vector<std::string> files; // the upload list, in list order
};
