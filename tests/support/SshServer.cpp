#include "SshServer.h"

#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sstream>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kSshd = "/usr/sbin/sshd";
const char* const kKeygen = "/usr/bin/ssh-keygen";

// Holds an exclusive lock on a file while it lives.
class CFileLock {
public:
    explicit CFileLock(const char* path) : m_file(::open(path, O_RDWR | O_CREAT, 0600)) {
        if (m_file < 0 || ::flock(m_file, LOCK_EX) != 0) {
            throw std::runtime_error(std::string("cannot lock ") + path);
        }
    }
    ~CFileLock() { ::close(m_file); }
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;

private:
    int m_file;
};

void EnsureTestUser() {
    // Tests run side by side would race on the user and the password files.
    CFileLock lock("/tmp/brevane-sftp-user.lock");
    if (::getpwnam(CSshServer::kUser) == nullptr) {
        CServerProcess::RunCommand({"/usr/sbin/useradd", "--system", "--no-create-home",
                                    "--home-dir", "/nonexistent", "--shell", "/usr/sbin/nologin",
                                    CSshServer::kUser});
    }
    CTempFolder folder;
    WriteFileBytes(folder / "password",
                   std::string(CSshServer::kUser) + ":" + CSshServer::kPassword + "\n");
    CServerProcess::RunCommand(
        {"/bin/sh", "-c", "/usr/sbin/chpasswd < '" + (folder / "password") + "'"});
}

// "type base64" of a public key file, without its comment.
std::string KeyLine(const std::string& publicKeyPath) {
    std::istringstream fields(ReadFileBytes(publicKeyPath));
    std::string type;
    std::string key;
    fields >> type >> key;
    return type + " " + key;
}

std::string MakeHostKey(const std::string& path) {
    CServerProcess::RunCommand({kKeygen, "-q", "-t", "ed25519", "-N", "", "-f", path});
    return KeyLine(path + ".pub");
}

} // namespace

std::string CSshServer::Unavailable() {
    if (!fs::exists(kSshd)) {
        return std::string(kSshd) + " is missing (scripts/deps installs openssh-server)";
    }
    if (::geteuid() != 0) {
        return "SFTP tests need root: sshd checks passwords of system users only, and the "
               "fixture creates its user '" +
               std::string(kUser) + "' with useradd";
    }
    return "";
}

CSshServer::CSshServer() : m_port(CServerProcess::FreePort()) {
    EnsureTestUser();
    fs::permissions(m_folder.Path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::create_directory(UploadFolder());
    const passwd* user = ::getpwnam(kUser);
    if (user == nullptr || ::chown(UploadFolder().c_str(), user->pw_uid, -1) != 0) {
        throw std::runtime_error("cannot give the upload folder to " + std::string(kUser));
    }
    const std::string hostKey = m_folder / "host_key";
    m_hostKeyLine = MakeHostKey(hostKey);
    m_otherKeyLine = MakeHostKey(m_folder / "other_key");
    std::istringstream listing(
        CServerProcess::CommandOutput({kKeygen, "-l", "-E", "sha256", "-f", hostKey + ".pub"}));
    std::string bits;
    listing >> bits >> m_fingerprint;

    // sshd's privilege separation needs its empty folder.
    fs::create_directories("/run/sshd");
    const std::vector<std::string> settings = {"Port " + std::to_string(m_port),
                                               "ListenAddress 127.0.0.1",
                                               "HostKey " + hostKey,
                                               "PidFile none",
                                               "UsePAM no",
                                               "PasswordAuthentication yes",
                                               "KbdInteractiveAuthentication no",
                                               "PubkeyAuthentication no",
                                               "AuthorizedKeysFile none",
                                               "StrictModes no",
                                               "Subsystem sftp internal-sftp",
                                               "ForceCommand internal-sftp",
                                               "AllowUsers " + std::string(kUser),
                                               "LogLevel ERROR"};
    std::string text;
    for (const std::string& setting : settings) {
        text += setting + "\n";
    }
    const std::string config = m_folder / "sshd_config";
    WriteFileBytes(config, text);
    m_process = std::make_unique<CServerProcess>(
        std::vector<std::string>{kSshd, "-D", "-e", "-f", config}, m_folder / "server.log");
    m_process->WaitUntilListening(m_port);
}

std::string CSshServer::KnownHostsEntry(const std::string& keyLine) const {
    return "[127.0.0.1]:" + std::to_string(m_port) + " " + keyLine + "\n";
}
