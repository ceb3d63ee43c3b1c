#include "TestCertificates.h"

#include "ServerProcess.h"

CTestCertificates::CTestCertificates() {
    const std::string openssl = "/usr/bin/openssl";
    const std::string caKey = m_folder / "ca.key";
    const std::string request = m_folder / "server.csr";
    const std::string extensions = m_folder / "server.ext";
    WriteFileBytes(extensions, "subjectAltName=IP:127.0.0.1\nextendedKeyUsage=serverAuth\n");
    CServerProcess::RunCommand({openssl,
                                "req",
                                "-x509",
                                "-newkey",
                                "ec",
                                "-pkeyopt",
                                "ec_paramgen_curve:prime256v1",
                                "-nodes",
                                "-keyout",
                                caKey,
                                "-out",
                                CaFile(),
                                "-days",
                                "2",
                                "-subj",
                                "/CN=Brevane Test CA",
                                "-addext",
                                "basicConstraints=critical,CA:TRUE",
                                "-addext",
                                "keyUsage=critical,keyCertSign,cRLSign"});
    CServerProcess::RunCommand({openssl, "req", "-newkey", "ec", "-pkeyopt",
                                "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", KeyFile(),
                                "-out", request, "-subj", "/CN=127.0.0.1"});
    CServerProcess::RunCommand({openssl, "x509", "-req", "-in", request, "-CA", CaFile(), "-CAkey",
                                caKey, "-CAcreateserial", "-out", CertificateFile(), "-days", "2",
                                "-extfile", extensions});
}
