#pragma once

#include <string>

// What the upload command was asked for on its command line.
struct SUploadRequest {
    std::string projectPath;
    std::string passwordVariable; // empty: the project's password
    std::string caFile;
    std::string trustedHostKey;
    bool json = false;
};

// Uploads the project's files in the window's list order, one line per file and a summary
// (or a JSON array) on standard output; every file is attempted. The exit status: done when
// every file arrived, refused when any failed or the project cannot be used.
int RunUpload(const SUploadRequest& request);
