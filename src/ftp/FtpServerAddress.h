#pragma once

#include <cstdint>
#include <string>

// The protocols a server field can ask for.
enum class EFtpProtocol {
    Ftp,            // plain FTP (a bare host, ftp://)
    FtpExplicitTls, // ftpes://: AUTH TLS on the FTP port, required for commands and data
    FtpImplicitTls, // ftps://: TLS from the first byte, port 990
    Sftp,           // sftp://: SSH file transfer, port 22
};

// A server field taken apart: protocol, host and port.
struct SFtpServerAddress {
    EFtpProtocol protocol = EFtpProtocol::Ftp;
    std::string host; // an IPv6 address without its brackets
    uint16_t port = 21;

    // Reads "host", "host:port" or "scheme://host[:port][/]". False with a message in error
    // for anything else: an unknown scheme, a user name, a path, a bad port, no host.
    static bool Parse(const std::string& text, SFtpServerAddress& address, std::string& error);

    // libcurl's URL up to the path: "ftp://host:port" (explicit TLS is asked for apart).
    std::string UrlPrefix() const;
    // "host:port" for messages.
    std::string HostAndPort() const;
};
