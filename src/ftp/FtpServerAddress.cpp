#include "ftp/FtpServerAddress.h"

#include <algorithm>
#include <cctype>

namespace {

struct SScheme {
    const char* prefix;
    EFtpProtocol protocol;
    uint16_t defaultPort;
};

const SScheme kSchemes[] = {
    {"ftp://", EFtpProtocol::Ftp, 21},
    {"ftpes://", EFtpProtocol::FtpExplicitTls, 21},
    {"ftps://", EFtpProtocol::FtpImplicitTls, 990},
    {"sftp://", EFtpProtocol::Sftp, 22},
};

std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ParsePort(const std::string& digits, uint16_t& port) {
    if (digits.empty() || digits.size() > 5 ||
        !std::all_of(digits.begin(), digits.end(),
                     [](unsigned char c) { return std::isdigit(c); })) {
        return false;
    }
    const unsigned long value = std::stoul(digits);
    if (value == 0 || value > 65535) {
        return false;
    }
    port = static_cast<uint16_t>(value);
    return true;
}

bool IsHostCharacter(unsigned char c) {
    return std::isalnum(c) || c == '.' || c == '-' || c == '_' || c == ':' || c >= 0x80;
}

// Splits "host", "host:port", "[v6]" or "[v6]:port"; port stays as it is when none is given.
bool SplitHostAndPort(const std::string& authority, std::string& host, uint16_t& port) {
    std::string portText;
    bool hasPort = false;
    if (!authority.empty() && authority[0] == '[') {
        const size_t close = authority.find(']');
        if (close == std::string::npos) {
            return false;
        }
        host = authority.substr(1, close - 1);
        const std::string rest = authority.substr(close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':') {
                return false;
            }
            portText = rest.substr(1);
            hasPort = true;
        }
    } else {
        const size_t colon = authority.find(':');
        if (colon != authority.rfind(':')) {
            return false; // an IPv6 address needs its brackets
        }
        host = authority.substr(0, colon);
        if (colon != std::string::npos) {
            portText = authority.substr(colon + 1);
            hasPort = true;
        }
    }
    if (hasPort && !ParsePort(portText, port)) {
        return false;
    }
    return !host.empty() && std::all_of(host.begin(), host.end(), IsHostCharacter);
}

} // namespace

bool SFtpServerAddress::Parse(const std::string& text, SFtpServerAddress& address,
                              std::string& error) {
    const std::string field = Trimmed(text);
    SFtpServerAddress parsed;
    std::string rest = field;
    const size_t schemeEnd = field.find("://");
    if (schemeEnd != std::string::npos) {
        const std::string prefix = Lowercase(field.substr(0, schemeEnd + 3));
        const auto scheme = std::find_if(std::begin(kSchemes), std::end(kSchemes),
                                         [&](const SScheme& s) { return prefix == s.prefix; });
        if (scheme == std::end(kSchemes)) {
            error = "the server '" + field + "' names an unknown protocol (use ftp://, ftpes://, " +
                    "ftps:// or sftp://)";
            return false;
        }
        parsed.protocol = scheme->protocol;
        parsed.port = scheme->defaultPort;
        rest = field.substr(schemeEnd + 3);
    }
    if (!rest.empty() && rest.back() == '/') {
        rest.pop_back();
    }
    if (rest.find('@') != std::string::npos) {
        error = "the server '" + field + "' holds a user name; give it in the user name field";
        return false;
    }
    if (rest.find('/') != std::string::npos) {
        error = "the server '" + field + "' holds a path; give it as the target folder";
        return false;
    }
    if (!SplitHostAndPort(rest, parsed.host, parsed.port)) {
        error = field.empty() ? std::string("no server is given")
                              : "the server '" + field + "' is not a host, host:port or URL";
        return false;
    }
    address = parsed;
    return true;
}

std::string SFtpServerAddress::UrlPrefix() const {
    const char* scheme = protocol == EFtpProtocol::FtpImplicitTls ? "ftps://"
                         : protocol == EFtpProtocol::Sftp         ? "sftp://"
                                                                  : "ftp://";
    return scheme + HostAndPort();
}

std::string SFtpServerAddress::HostAndPort() const {
    const bool bracketed = host.find(':') != std::string::npos;
    return (bracketed ? "[" + host + "]" : host) + ":" + std::to_string(port);
}
