#include "SshServer.h"

#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kSshd = "/usr/sbin/sshd";
const char* const kKeygen = "/usr/bin/ssh-keygen";
const char* const kWrapperLibraries[] = {LIBNSS_WRAPPER, LIBPAM_WRAPPER, PAM_MATRIX_MODULE};

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

std::string PasswdLine(const passwd& entry) {
    return std::string(entry.pw_name) + ":x:" + std::to_string(entry.pw_uid) + ":" +
           std::to_string(entry.pw_gid) + "::" + entry.pw_dir + ":" + entry.pw_shell + "\n";
}

std::string GroupLine(gid_t id) {
    const group* entry = ::getgrgid(id);
    return std::string(entry != nullptr ? entry->gr_name : "brevane") + ":x:" + std::to_string(id) +
           ":\n";
}

} // namespace

std::string CSshServer::Unavailable() {
    if (!fs::exists(kSshd)) {
        return std::string(kSshd) + " is missing (scripts/deps installs openssh-server)";
    }
    for (const char* library : kWrapperLibraries) {
        if (!fs::exists(library)) {
            return std::string(library) + " is missing (scripts/deps installs libnss-wrapper " +
                   "and libpam-wrapper)";
        }
    }
    return "";
}

CSshServer::CSshServer() : m_port(CServerProcess::FreePort()) {
    fs::create_directory(UploadFolder());
    const std::string hostKey = m_folder / "host_key";
    m_hostKeyLine = MakeHostKey(hostKey);
    m_otherKeyLine = MakeHostKey(m_folder / "other_key");
    std::istringstream listing(
        CServerProcess::CommandOutput({kKeygen, "-l", "-E", "sha256", "-f", hostKey + ".pub"}));
    std::string bits;
    listing >> bits >> m_fingerprint;

    const bool root = ::geteuid() == 0;
    if (root) {
        fs::create_directories("/run/sshd"); // privilege separation's empty folder
    }
    const std::vector<std::string> settings = {
        "Port " + std::to_string(m_port), "ListenAddress 127.0.0.1", "HostKey " + hostKey,
        "PidFile none", "UsePAM yes", "PasswordAuthentication yes",
        "KbdInteractiveAuthentication no", "PubkeyAuthentication no", "AuthorizedKeysFile none",
        "StrictModes no", "Subsystem sftp internal-sftp", "ForceCommand internal-sftp",
        // Run by root, the test user has root's id.
        std::string("PermitRootLogin ") + (root ? "yes" : "no"), "AllowUsers " + std::string(kUser),
        "LogLevel ERROR"};
    std::string text;
    for (const std::string& setting : settings) {
        text += setting + "\n";
    }
    const std::string config = m_folder / "sshd_config";
    WriteFileBytes(config, text);
    m_process =
        std::make_unique<CServerProcess>(std::vector<std::string>{kSshd, "-D", "-e", "-f", config},
                                         m_folder / "server.log", UserEnvironment());
    m_process->WaitUntilListening(m_port);
}

std::vector<std::string> CSshServer::UserEnvironment() const {
    const std::string home = m_folder.Path().string();
    passwd user{};
    user.pw_name = const_cast<char*>(kUser);
    user.pw_uid = ::geteuid();
    user.pw_gid = ::getegid();
    user.pw_dir = const_cast<char*>(home.c_str());
    user.pw_shell = const_cast<char*>("/bin/sh");
    std::string passwdText = PasswdLine(user);
    std::string groupText = GroupLine(user.pw_gid);
    // sshd started by root drops its privileges to its own system user, so that one stays.
    if (const passwd* privilegeUser = ::geteuid() == 0 ? ::getpwnam("sshd") : nullptr) {
        passwdText += PasswdLine(*privilegeUser);
        groupText += GroupLine(privilegeUser->pw_gid);
    }
    WriteFileBytes(m_folder / "passwd", passwdText);
    WriteFileBytes(m_folder / "group", groupText);
    WriteFileBytes(m_folder / "passdb", std::string(kUser) + ":" + kPassword + ":sshd\n");
    fs::create_directory(m_folder / "pam");
    std::string service;
    for (const char* kind : {"auth", "account", "password", "session"}) {
        service += std::string(kind) + " required " + PAM_MATRIX_MODULE +
                   " passdb=" + (m_folder / "passdb") + "\n";
    }
    WriteFileBytes(m_folder / "pam/sshd", service);
    return {"LD_PRELOAD=" + std::string(LIBNSS_WRAPPER) + " " + LIBPAM_WRAPPER,
            "NSS_WRAPPER_PASSWD=" + (m_folder / "passwd"),
            "NSS_WRAPPER_GROUP=" + (m_folder / "group"), "PAM_WRAPPER=1",
            "PAM_WRAPPER_SERVICE_DIR=" + (m_folder / "pam")};
}

std::string CSshServer::KnownHostsEntry(const std::string& keyLine) const {
    return "[127.0.0.1]:" + std::to_string(m_port) + " " + keyLine + "\n";
}
