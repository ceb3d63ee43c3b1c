#pragma once

#include <cstdint>
#include <string>

// Where an upload stood when it failed.
enum class EFtpStep {
    None,      // no failure
    LocalFile, // the local file could not be read; nothing was sent
    Settings,  // the server field or the remote path cannot be used; nothing was sent
    Connect,   // reaching the server (or the proxy)
    Tls,       // the TLS handshake or the server's certificate
    HostKey,   // the SSH server's host key
    Login,     // user name and password
    Folder,    // the target folder: missing, or not to be entered
    Transfer,  // sending the file, or the server's size of it afterwards
    Rename,    // giving the uploaded file its real name
};

// The outcome of one upload.
struct SFtpResult {
    bool ok = false;
    // The user cancelled; step says where the upload stood, reason is "cancelled".
    bool cancelled = false;
    EFtpStep step = EFtpStep::None;
    // Why it failed: the server's reply or libcurl's text, in words a user can act on.
    std::string reason;
    // The bytes the server holds of the file when ok.
    uint64_t bytes = 0;
    // With step HostKey: the fingerprint of the key the server offered ("SHA256:..."), for a
    // window that asks the user and passes it back as SFtpSettings::trustedHostKey.
    std::string offeredHostKey;

    // "ok", or the step and the reason ("login: 530 Login incorrect.").
    std::string Describe() const;
};

// The step's name in messages: "local file", "connect", "TLS", "login", ...
const char* FtpStepName(EFtpStep step);
