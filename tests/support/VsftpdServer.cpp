#include "VsftpdServer.h"

#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kVsftpd = "/usr/sbin/vsftpd";
// The system user vsftpd runs anonymous sessions as; its package creates it.
const char* const kAnonymousUser = "ftp";

} // namespace

std::string CVsftpdServer::Unavailable() {
    if (!fs::exists(kVsftpd)) {
        return std::string(kVsftpd) + " is missing (scripts/deps installs it)";
    }
    if (::geteuid() != 0) {
        return "vsftpd starts only as root; run the tests as root for FTPS";
    }
    if (::getpwnam(kAnonymousUser) == nullptr) {
        return "the system user 'ftp' that vsftpd's package makes is missing";
    }
    return "";
}

CVsftpdServer::CVsftpdServer(const CTestCertificates& certificates, bool implicitTls)
    : m_port(CServerProcess::FreePort()), m_implicitTls(implicitTls) {
    // vsftpd refuses a writable anonymous root, so only /upload belongs to its user.
    fs::permissions(m_folder.Path(), fs::perms::owner_all | fs::perms::group_read |
                                         fs::perms::group_exec | fs::perms::others_read |
                                         fs::perms::others_exec);
    fs::create_directories(UploadFolder());
    const passwd* anonymous = ::getpwnam(kAnonymousUser);
    if (anonymous == nullptr || ::chown(UploadFolder().c_str(), anonymous->pw_uid, -1) != 0) {
        throw std::runtime_error("cannot give /upload to vsftpd's user 'ftp'");
    }
    fs::create_directories("/var/run/vsftpd/empty");
    const std::vector<std::string> settings = {
        "listen=YES", "listen_ipv6=NO", "listen_address=127.0.0.1",
        "listen_port=" + std::to_string(m_port), "background=NO",
        // Anonymous users (an empty user name) may store, rename and delete.
        "anonymous_enable=YES", "no_anon_password=YES", "local_enable=NO", "write_enable=YES",
        "anon_upload_enable=YES", "anon_other_write_enable=YES", "anon_root=" + (m_folder / "root"),
        // TLS only, for the login and the data.
        "ssl_enable=YES", std::string("implicit_ssl=") + (implicitTls ? "YES" : "NO"),
        "allow_anon_ssl=YES", "force_anon_logins_ssl=YES", "force_anon_data_ssl=YES",
        "require_ssl_reuse=NO", "ssl_ciphers=HIGH",
        "rsa_cert_file=" + certificates.CertificateFile(),
        "rsa_private_key_file=" + certificates.KeyFile(),
        // Containers often forbid the sandbox's system calls.
        "seccomp_sandbox=NO", "isolate=NO", "isolate_network=NO"};
    std::string text;
    for (const std::string& setting : settings) {
        text += setting + "\n";
    }
    const std::string config = m_folder / "vsftpd.conf";
    WriteFileBytes(config, text);
    m_process = std::make_unique<CServerProcess>(std::vector<std::string>{kVsftpd, config},
                                                 m_folder / "server.log");
    m_process->WaitUntilListening(m_port);
}

std::string CVsftpdServer::Address() const {
    return (m_implicitTls ? "ftps://127.0.0.1:" : "ftpes://127.0.0.1:") + std::to_string(m_port);
}
