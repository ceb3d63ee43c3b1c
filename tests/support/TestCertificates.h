#pragma once

#include "TempFolder.h"

#include <string>

// A certificate authority made for the test and a server certificate it signed for
// 127.0.0.1, made with the openssl command.
class CTestCertificates {
public:
    // Makes both; throws when openssl fails.
    CTestCertificates();

    // The authority's certificate, to be trusted with a CA file.
    std::string CaFile() const { return m_folder / "ca.pem"; }
    // The server's certificate and its private key.
    std::string CertificateFile() const { return m_folder / "server.pem"; }
    std::string KeyFile() const { return m_folder / "server.key"; }

private:
    CTempFolder m_folder;
};
