#pragma once

#include "ServerProcess.h"
#include "TempFolder.h"
#include "TestCertificates.h"

#include <cstdint>
#include <memory>
#include <string>

// A vsftpd server on 127.0.0.1 that takes only TLS, with a certificate of the test's own
// authority, and lets anonymous users write to "upload/" in their login folder. Sessions run
// as the user who started it, without a chroot, so paths from "/" are the machine's own.
class CVsftpdServer {
public:
    // Why vsftpd cannot run here (it is not installed); empty when it can.
    static std::string Unavailable();

    // Starts it with explicit TLS (AUTH TLS) or implicit TLS, closing sessions idle for
    // idleSeconds (0: vsftpd's five minutes); throws when it does not come up.
    CVsftpdServer(const CTestCertificates& certificates, bool implicitTls,
                  unsigned idleSeconds = 0);

    // "ftpes://127.0.0.1:port" or "ftps://127.0.0.1:port", as a project's server field.
    std::string Address() const;
    // The local folder behind the login folder's "upload/".
    std::string UploadFolder() const { return m_folder / "root/upload"; }

private:
    CTempFolder m_folder;
    std::unique_ptr<CServerProcess> m_process;
    uint16_t m_port = 0;
    bool m_implicitTls = false;
};
