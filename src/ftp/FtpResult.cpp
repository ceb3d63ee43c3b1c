#include "ftp/FtpResult.h"

const char* FtpStepName(EFtpStep step) {
    switch (step) {
    case EFtpStep::None:
        return "none";
    case EFtpStep::LocalFile:
        return "local file";
    case EFtpStep::Settings:
        return "settings";
    case EFtpStep::Connect:
        return "connect";
    case EFtpStep::Tls:
        return "TLS";
    case EFtpStep::HostKey:
        return "host key";
    case EFtpStep::Login:
        return "login";
    case EFtpStep::Folder:
        return "folder";
    case EFtpStep::Transfer:
        return "transfer";
    case EFtpStep::Rename:
        return "rename";
    }
    return "unknown";
}

std::string SFtpResult::Describe() const {
    return ok ? "ok" : std::string(FtpStepName(step)) + ": " + reason;
}
