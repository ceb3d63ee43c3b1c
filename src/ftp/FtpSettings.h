#pragma once

#include <cstdint>
#include <string>

// How to reach and log in to the server of an upload; the values of the project's remote
// settings plus the trust a user grants beyond the system's.
struct SFtpSettings {
    // "host", "host:port", or a URL: ftp:// plain, ftpes:// explicit TLS (required, data
    // channel too), ftps:// implicit TLS (port 990), sftp:// SSH file transfer (port 22).
    std::string server;
    // Empty: anonymous FTP login (the password is then not used); SFTP needs a user.
    std::string user;
    std::string password;
    // FTP: passive (EPSV, then PASV) when true, active (PORT/EPRT) when false.
    bool passive = true;
    // Take the proxy from the system: the proxy environment variables (ftp_proxy,
    // sftp_proxy, all_proxy, no_proxy).
    bool systemProxy = false;
    // With a non-empty proxyServer: use that proxy; it wins over systemProxy. Empty
    // proxyServer: as if false.
    bool useProxy = false;
    // "host:port" (an HTTP proxy, tunnelled) or a socks5://, socks4://, http:// URL.
    std::string proxyServer;
    // Time allowed to connect and log in, and how long a server may keep us waiting for a
    // reply or a transfer may stall, in milliseconds; 0: no limit.
    uint32_t timeoutMs = 15000;
    // A file of extra certificate authorities trusted besides the system's (TLS only).
    std::string caFile;
    // SFTP: a host key fingerprint ("SHA256:..." as ssh-keygen -l prints it) accepted even
    // when the known hosts file does not list it.
    std::string trustedHostKey;
    // SFTP: the known hosts file; empty: ~/.ssh/known_hosts of the user running us.
    std::string knownHostsPath;
};
