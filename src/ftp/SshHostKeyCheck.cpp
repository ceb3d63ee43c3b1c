#include "ftp/SshHostKeyCheck.h"

#include <openssl/evp.h>

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string kFingerprintPrefix = "SHA256:";

std::string Base64(const unsigned char* bytes, size_t size) {
    std::vector<unsigned char> text(4 * ((size + 2) / 3) + 1);
    const int length = EVP_EncodeBlock(text.data(), bytes, static_cast<int>(size));
    return std::string(reinterpret_cast<const char*>(text.data()), static_cast<size_t>(length));
}

// The raw key: libcurl hands it over raw with its length, or as base64 text without one.
std::string KeyBlob(const curl_khkey& key) {
    if (key.len != 0) {
        return std::string(key.key, key.len);
    }
    const std::string text = key.key;
    std::vector<unsigned char> blob(text.size() / 4 * 3 + 3);
    const int length =
        EVP_DecodeBlock(blob.data(), reinterpret_cast<const unsigned char*>(text.data()),
                        static_cast<int>(text.size()));
    if (length < 0) {
        return "";
    }
    const size_t padding = text.size() - text.find_last_not_of('=') - 1;
    return std::string(reinterpret_cast<const char*>(blob.data()), length - padding);
}

// A fingerprint as typed: with or without "SHA256:", with or without base64 padding.
std::string NormalisedFingerprint(std::string text) {
    if (text.compare(0, kFingerprintPrefix.size(), kFingerprintPrefix) == 0) {
        text.erase(0, kFingerprintPrefix.size());
    }
    while (!text.empty() && text.back() == '=') {
        text.pop_back();
    }
    return text.empty() ? "" : kFingerprintPrefix + text;
}

} // namespace

void CSshHostKeyCheck::Install(CURL* handle, const std::string& host,
                               const std::string& knownHostsPath,
                               const std::string& trustedFingerprint) {
    m_host = host;
    m_knownHostsPath = knownHostsPath.empty() ? DefaultKnownHostsPath() : knownHostsPath;
    m_trusted = NormalisedFingerprint(trustedFingerprint);
    m_refusal.clear();
    m_refusedFingerprint.clear();
    curl_easy_setopt(handle, CURLOPT_SSH_KNOWNHOSTS, m_knownHostsPath.c_str());
    curl_easy_setopt(handle, CURLOPT_SSH_KEYFUNCTION, &CSshHostKeyCheck::OnKey);
    curl_easy_setopt(handle, CURLOPT_SSH_KEYDATA, this);
}

std::string CSshHostKeyCheck::Fingerprint(const std::string& keyBlob) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestSize = 0;
    EVP_Digest(keyBlob.data(), keyBlob.size(), digest, &digestSize, EVP_sha256(), nullptr);
    return NormalisedFingerprint(kFingerprintPrefix + Base64(digest, digestSize));
}

std::string CSshHostKeyCheck::DefaultKnownHostsPath() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* entry = getpwuid(geteuid());
        home = entry != nullptr ? entry->pw_dir : "";
    }
    return std::string(home) + "/.ssh/known_hosts";
}

int CSshHostKeyCheck::OnKey(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match,
                            void* self) {
    return static_cast<CSshHostKeyCheck*>(self)->Decide(found, match);
}

int CSshHostKeyCheck::Decide(const curl_khkey* found, curl_khmatch match) {
    const std::string fingerprint = Fingerprint(KeyBlob(*found));
    if (match == CURLKHMATCH_OK || (!m_trusted.empty() && fingerprint == m_trusted)) {
        return CURLKHSTAT_FINE;
    }
    m_refusedFingerprint = fingerprint;
    if (match == CURLKHMATCH_MISMATCH) {
        m_refusal = "the host key of " + m_host + " is not the one " + m_knownHostsPath +
                    " lists for it (the server offers " + fingerprint + ")";
    } else {
        m_refusal = "the host key of " + m_host + " is not known (" + fingerprint +
                    "); trust it only after comparing it with the server's";
    }
    return CURLKHSTAT_REJECT;
}
