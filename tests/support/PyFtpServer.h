#pragma once

#include "ServerProcess.h"
#include "TempFolder.h"

#include <cstdint>
#include <memory>
#include <string>

// How the plain FTP test server misbehaves, if at all.
struct SPyFtpOptions {
    uint32_t throttleBytesPerSecond = 0; // 0: full speed
    uint32_t cutAfterBytes = 0;          // drop both connections after this much data; 0: never
    uint32_t stallAfterBytes = 0;        // stop reading data after this much; 0: never
    bool loseLastByte = false;           // keep each stored file one byte short
    bool noRenameOver = false;           // refuse to rename onto an existing file
    std::string readOnlyFolder;          // a folder under the root the user may not write
};

// A pyftpdlib server on 127.0.0.1 serving a fresh folder to one user, counting logins.
class CPyFtpServer {
public:
    static constexpr const char* kUser = "publisher";
    static constexpr const char* kPassword = "s3cret";

    // Starts the server; throws when it does not come up.
    explicit CPyFtpServer(const SPyFtpOptions& options = {});

    // The port it listens on.
    uint16_t Port() const { return m_port; }
    // "127.0.0.1:port", as a project's server field.
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }
    // The local folder the user sees as "/".
    std::string Root() const { return m_folder / "root"; }
    // How many logins succeeded so far.
    int Logins() const;

private:
    CTempFolder m_folder;
    std::unique_ptr<CServerProcess> m_process;
    uint16_t m_port = 0;
};
