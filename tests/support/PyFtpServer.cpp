#include "PyFtpServer.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

CPyFtpServer::CPyFtpServer(const SPyFtpOptions& options) {
    std::filesystem::create_directory(Root());
    std::vector<std::string> argv = {"/usr/bin/python3", FTP_TEST_SERVER_SCRIPT,
                                     "--root",           Root(),
                                     "--user",           kUser,
                                     "--password",       kPassword,
                                     "--login-log",      m_folder / "logins"};
    if (options.throttleBytesPerSecond != 0) {
        argv.insert(argv.end(), {"--throttle", std::to_string(options.throttleBytesPerSecond)});
    }
    if (options.cutAfterBytes != 0) {
        argv.insert(argv.end(), {"--cut-after", std::to_string(options.cutAfterBytes)});
    }
    if (options.stallAfterBytes != 0) {
        argv.insert(argv.end(), {"--stall-after", std::to_string(options.stallAfterBytes)});
    }
    if (options.loseLastByte) {
        argv.push_back("--lose-last-byte");
    }
    if (options.noRenameOver) {
        argv.push_back("--no-rename-over");
    }
    if (!options.readOnlyFolder.empty()) {
        std::filesystem::create_directory(Root() + "/" + options.readOnlyFolder);
        argv.insert(argv.end(), {"--read-only-folder", options.readOnlyFolder});
    }
    m_process = std::make_unique<CServerProcess>(argv, m_folder / "server.log");
    const std::string line = m_process->ReadLine();
    if (line.rfind("PORT ", 0) != 0) {
        throw std::runtime_error("the FTP test server said '" + line + "' instead of its port");
    }
    m_port = static_cast<uint16_t>(std::stoul(line.substr(5)));
}

int CPyFtpServer::Logins() const {
    const std::string log = ReadFileBytes(m_folder / "logins");
    return static_cast<int>(std::count(log.begin(), log.end(), '\n'));
}
