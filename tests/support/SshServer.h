#pragma once

#include "ServerProcess.h"
#include "TempFolder.h"

#include <cstdint>
#include <memory>
#include <string>

// OpenSSH's sshd on 127.0.0.1 with a private configuration and host key, offering SFTP to a
// test user who logs in with a password. The user exists only for sshd: nss_wrapper gives it
// a passwd entry with this process's user id and pam_wrapper checks its password, so no
// system account is made and root is not needed.
class CSshServer {
public:
    static constexpr const char* kUser = "brevane-sftp";
    static constexpr const char* kPassword = "Sftp-test-pw1";

    // Why sshd cannot run here (a missing program or wrapper library); empty when it can.
    static std::string Unavailable();

    // Makes the host key, the user and the configuration, and starts sshd; throws when it
    // does not come up.
    CSshServer();

    // "sftp://127.0.0.1:port", as a project's server field.
    std::string Address() const { return "sftp://127.0.0.1:" + std::to_string(m_port); }
    // A folder the test user may write, as an absolute path on the server.
    std::string UploadFolder() const { return m_folder / "upload"; }
    // The known hosts line for this server's key, and for another key under its name.
    std::string KnownHostsLine() const { return KnownHostsEntry(m_hostKeyLine); }
    std::string ChangedKnownHostsLine() const { return KnownHostsEntry(m_otherKeyLine); }
    // The host key's fingerprint as ssh-keygen prints it ("SHA256:...").
    const std::string& Fingerprint() const { return m_fingerprint; }

private:
    std::string KnownHostsEntry(const std::string& keyLine) const;
    // The environment that gives sshd the test user: passwd, group and PAM service files.
    std::vector<std::string> UserEnvironment() const;

    CTempFolder m_folder;
    std::unique_ptr<CServerProcess> m_process;
    uint16_t m_port = 0;
    std::string m_hostKeyLine;
    std::string m_otherKeyLine;
    std::string m_fingerprint;
};
