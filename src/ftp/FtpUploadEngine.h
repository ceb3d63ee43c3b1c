#pragma once

#include "ftp/FtpResult.h"
#include "ftp/FtpServerAddress.h"
#include "ftp/FtpSettings.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CCurlSession;
class CSshHostKeyCheck;

// Uploads files one at a time over FTP, FTPS or SFTP, with libcurl and without any window.
//
// Each file is written under a temporary name in its target folder (".NAME.XXXXXXXX.part"),
// its size on the server is compared with the local size, and only then is it renamed to
// its real name. A failed or cancelled upload deletes the temporary and leaves a file of the
// real name as it was. Where the server refuses to rename over an existing file (SFTP
// servers do), the existing file is deleted first and the rename tried again.
//
// The engine keeps its connection and login between uploads as long as the server, the
// protocol and the credentials stay the same; destroying it closes the connection.
// Upload() blocks: a window calls it on a worker thread and may call Cancel() from its own.
class CFtpUploadEngine {
public:
    // Bytes of the file sent so far, and the file's size; called on the uploading thread.
    using ProgressCallback = std::function<void(uint64_t sent, uint64_t total)>;

    // Connects on the first upload, not before.
    CFtpUploadEngine();
    // Closes the connection, logging out.
    ~CFtpUploadEngine();
    CFtpUploadEngine(const CFtpUploadEngine&) = delete;
    CFtpUploadEngine& operator=(const CFtpUploadEngine&) = delete;

    // Uploads the local file to remotePath (a server path: "/a/b.exe" from the server's root,
    // "a/b.exe" from the login folder). ok only when the server holds the whole file under
    // its real name; otherwise the step and the reason.
    SFtpResult Upload(const SFtpSettings& settings, const std::string& localPath,
                      const std::string& remotePath, const ProgressCallback& progress = {});

    // False with libcurl before 8.0, which fails every active-mode data connection over TLS;
    // uploads to ftpes:// and ftps:// servers then need passive mode and say so.
    static bool ActiveModeOverTlsWorks();

    // Stops the upload now running within a fraction of a second, from any thread, or the
    // next one to start when none runs; the upload then deletes its temporary (a second
    // Cancel() stops that too) and returns cancelled.
    void Cancel();

private:
    // One upload's parts, valid during Upload().
    struct SJob {
        SFtpSettings settings;
        SFtpServerAddress address;
        std::string folder;        // the remote folder, with its trailing '/' (may be empty)
        std::string name;          // the remote file name
        std::string temporaryName; // the name it is written under first
        std::FILE* file = nullptr;
        uint64_t size = 0;
        uint64_t sent = 0;
        int64_t serverSize = -1; // the size the server gives for the temporary; -1: none
        const ProgressCallback* progress = nullptr;
        bool sending = false;    // the file's own request runs: progress is reported
        bool readFailed = false; // reading the local file failed during the transfer
        int readError = 0;
        std::chrono::steady_clock::time_point lastProgress; // when the last byte went through
        bool stalled = false; // no byte went through for the time allowed
        int lastFailure = 0;  // libcurl's code for the last request; 0: it succeeded
    };

    bool Prepare(const std::string& localPath, const std::string& remotePath, SFtpResult& result);
    bool Send(SFtpResult& result);
    bool SendOnce(bool freshConnection, SFtpResult& result);
    bool CheckSize(SFtpResult& result);
    bool Rename(SFtpResult& result);
    void RemoveTemporary();

    // A request on the remote path with the connection options; returns libcurl's handle
    // for the request's own options.
    void* BeginRequest(const std::string& path);
    // Runs the request begun; false with the failure in result. requestStep: where a
    // failure that the server's dialogue does not place stands.
    bool Perform(EFtpStep requestStep, SFtpResult& result);
    // Sends the commands in the target folder after the request; false with the failure.
    bool Quote(const std::vector<std::string>& commands, SFtpResult& result);
    void Fail(int code, EFtpStep requestStep, SFtpResult& result) const;
    EFtpStep FailedStep(int code, EFtpStep requestStep) const;
    std::string FailureReason(int code, const SFtpResult& result) const;
    std::string Url(const std::string& path) const;
    // A command's argument for a file of the target folder.
    std::string CommandPath(const std::string& name) const;
    bool IsSftp() const { return m_job.address.protocol == EFtpProtocol::Sftp; }

    static size_t OnRead(char* buffer, size_t size, size_t count, void* self);
    static int OnProgress(void* self, int64_t, int64_t, int64_t, int64_t sent);
    // False once the transfer has stood still for longer than the time allowed.
    bool KeepsMoving(uint64_t sent);

    std::unique_ptr<CCurlSession> m_session;
    std::unique_ptr<CSshHostKeyCheck> m_hostKeyCheck;
    std::atomic<bool> m_cancel{false};
    SJob m_job;
};
