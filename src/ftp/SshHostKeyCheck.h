#pragma once

#include <curl/curl.h>

#include <string>

// Decides on an SSH server's host key: accepted when the known hosts file lists it for the
// server or when its fingerprint is the one the user trusts; refused otherwise, saying why
// and with the key's fingerprint, so the user can compare it with the server's.
class CSshHostKeyCheck {
public:
    // Installs the check on the handle of a request to host ("host:port" for messages).
    void Install(CURL* handle, const std::string& host, const std::string& knownHostsPath,
                 const std::string& trustedFingerprint);
    // Why the last key was refused, with its fingerprint; empty when none was.
    const std::string& Refusal() const { return m_refusal; }
    // The fingerprint of the key refused last; empty when none was.
    const std::string& RefusedFingerprint() const { return m_refusedFingerprint; }

    // The key's SHA-256 fingerprint as OpenSSH prints it: "SHA256:" and unpadded base64.
    static std::string Fingerprint(const std::string& keyBlob);
    // The known hosts file of the user running us: ~/.ssh/known_hosts.
    static std::string DefaultKnownHostsPath();

private:
    static int OnKey(CURL* handle, const curl_khkey* known, const curl_khkey* found,
                     curl_khmatch match, void* self);
    int Decide(const curl_khkey* found, curl_khmatch match);

    std::string m_host;
    std::string m_knownHostsPath;
    std::string m_trusted;
    std::string m_refusal;
    std::string m_refusedFingerprint;
};
