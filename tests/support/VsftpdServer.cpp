#include "VsftpdServer.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char* const kVsftpd = "/usr/sbin/vsftpd";

} // namespace

std::string CVsftpdServer::Unavailable() {
    return fs::exists(kVsftpd) ? ""
                               : std::string(kVsftpd) + " is missing (scripts/deps installs it)";
}

CVsftpdServer::CVsftpdServer(const CTestCertificates& certificates, bool implicitTls,
                             unsigned idleSeconds)
    : m_port(CServerProcess::FreePort()), m_implicitTls(implicitTls) {
    fs::create_directories(UploadFolder());
    fs::create_directory(m_folder / "empty");
    const std::vector<std::string> settings = {
        "listen=YES", "listen_ipv6=NO", "listen_address=127.0.0.1",
        "listen_port=" + std::to_string(m_port), "background=NO",
        // Sessions run as whoever started it, root or not: no system user, no chroot.
        "run_as_launching_user=YES", "secure_chroot_dir=" + (m_folder / "empty"),
        "idle_session_timeout=" + std::to_string(idleSeconds == 0 ? 300 : idleSeconds),
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
