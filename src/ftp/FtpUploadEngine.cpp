#include "ftp/FtpUploadEngine.h"

#include "ftp/CurlSession.h"
#include "ftp/SshHostKeyCheck.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <sys/stat.h>

namespace {

// "No limit" in libcurl's terms: about 24 days, since 0 means its own defaults there.
constexpr uint32_t kNoLimitMs = 0x7fffffff;

// Larger than libcurl's 64 KiB: fewer rounds through the read callback and the socket.
constexpr long kUploadBufferBytes = 512 * 1024;

long WholeSeconds(uint32_t milliseconds) {
    return static_cast<long>((milliseconds + 999ull) / 1000);
}

std::string RandomTag() {
    static const char kDigits[] = "0123456789abcdef";
    std::random_device source;
    std::string tag;
    for (int i = 0; i < 8; ++i) {
        tag += kDigits[source() % 16];
    }
    return tag;
}

bool IsConnectFailure(CURLcode code) {
    return code == CURLE_COULDNT_RESOLVE_HOST || code == CURLE_COULDNT_RESOLVE_PROXY ||
           code == CURLE_COULDNT_CONNECT || code == CURLE_FTP_WEIRD_SERVER_REPLY ||
           code == CURLE_GOT_NOTHING;
}

bool IsTlsFailure(CURLcode code) {
    return code == CURLE_SSL_CONNECT_ERROR || code == CURLE_PEER_FAILED_VERIFICATION ||
           code == CURLE_USE_SSL_FAILED || code == CURLE_SSL_CACERT_BADFILE ||
           code == CURLE_SSL_CERTPROBLEM || code == CURLE_SSL_CIPHER ||
           code == CURLE_SSL_ISSUER_ERROR || code == CURLE_SSL_CRL_BADFILE;
}

// Where an FTP dialogue stood, by the last command sent.
EFtpStep StepOfCommand(const std::string& verb) {
    if (verb.empty()) {
        return EFtpStep::Connect;
    }
    if (verb == "AUTH" || verb == "PBSZ" || verb == "PROT" || verb == "CCC") {
        return EFtpStep::Tls;
    }
    if (verb == "USER" || verb == "PASS" || verb == "ACCT") {
        return EFtpStep::Login;
    }
    if (verb == "CWD" || verb == "PWD" || verb == "MKD") {
        return EFtpStep::Folder;
    }
    if (verb == "RNFR" || verb == "RNTO" || verb == "DELE") {
        return EFtpStep::Rename;
    }
    return EFtpStep::Transfer;
}

bool HasLineBreak(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

// An SFTP command argument: quoted, with quotes and backslashes escaped.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

// The size in a reply to SIZE ("213 1234"); -1 for any other reply.
int64_t SizeInReply(const std::string& reply) {
    if (reply.size() < 5 || reply.size() > 4 + 18 || reply.compare(0, 4, "213 ") != 0 ||
        reply.find_first_not_of("0123456789", 4) != std::string::npos) {
        return -1;
    }
    return std::stoll(reply.substr(4));
}

struct SCommandList {
    curl_slist* list = nullptr;
    ~SCommandList() { curl_slist_free_all(list); }
};

} // namespace

CFtpUploadEngine::CFtpUploadEngine()
    : m_session(std::make_unique<CCurlSession>()),
      m_hostKeyCheck(std::make_unique<CSshHostKeyCheck>()) {
}

CFtpUploadEngine::~CFtpUploadEngine() = default;

SFtpResult CFtpUploadEngine::Upload(const SFtpSettings& settings, const std::string& localPath,
                                    const std::string& remotePath,
                                    const ProgressCallback& progress) {
    // A cancel that came before this upload began is this upload's: a window's Cancel can
    // reach the engine just before its worker thread gets here.
    m_job = SJob();
    m_job.settings = settings;
    m_job.progress = &progress;
    SFtpResult result;
    if (Prepare(localPath, remotePath, result)) {
        result.ok = Send(result) && CheckSize(result) && Rename(result);
        if (result.ok) {
            result = SFtpResult(); // a refused rename may have been mended
            result.ok = true;
            result.bytes = m_job.size;
        } else if (result.step >= EFtpStep::Transfer) {
            m_cancel = false; // a cancel stops the transfer, not the clean-up after it
            RemoveTemporary();
        }
    }
    if (m_job.file != nullptr) {
        std::fclose(m_job.file);
    }
    m_job = SJob();
    m_cancel = false; // the cancel was this upload's, not the next one's
    return result;
}

bool CFtpUploadEngine::ActiveModeOverTlsWorks() {
    // Seen with 7.88.1: "sa_addr inet_ntop() failed with errno 97" on every such transfer.
    return curl_version_info(CURLVERSION_NOW)->version_num >= 0x080000;
}

void CFtpUploadEngine::Cancel() {
    m_cancel = true;
    m_session->WakeUp();
}

bool CFtpUploadEngine::Prepare(const std::string& localPath, const std::string& remotePath,
                               SFtpResult& result) {
    result.step = EFtpStep::LocalFile;
    struct stat status {};
    if (::stat(localPath.c_str(), &status) != 0) {
        result.reason = "cannot read '" + localPath + "': " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        result.reason = "'" + localPath + "' is a folder, not a file";
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        result.reason = "'" + localPath + "' is not a regular file";
        return false;
    }
    m_job.file = std::fopen(localPath.c_str(), "rb");
    if (m_job.file == nullptr) {
        result.reason = "cannot read '" + localPath + "': " + std::strerror(errno);
        return false;
    }
    m_job.size = static_cast<uint64_t>(status.st_size);

    result.step = EFtpStep::Settings;
    if (!SFtpServerAddress::Parse(m_job.settings.server, m_job.address, result.reason)) {
        return false;
    }
    const bool tls = m_job.address.protocol == EFtpProtocol::FtpExplicitTls ||
                     m_job.address.protocol == EFtpProtocol::FtpImplicitTls;
    if (tls && !m_job.settings.passive && !ActiveModeOverTlsWorks()) {
        result.reason = std::string("active mode over TLS does not work with libcurl ") +
                        curl_version_info(CURLVERSION_NOW)->version + "; use passive mode (PASV)";
        return false;
    }
    const size_t slash = remotePath.rfind('/');
    m_job.folder = slash == std::string::npos ? "" : remotePath.substr(0, slash + 1);
    m_job.name = remotePath.substr(m_job.folder.size());
    if (m_job.name.empty() || HasLineBreak(remotePath)) {
        result.reason = "the remote path '" + remotePath + "' names no file";
        return false;
    }
    m_job.temporaryName = "." + m_job.name + "." + RandomTag() + ".part";
    result.step = EFtpStep::None;
    return true;
}

bool CFtpUploadEngine::Send(SFtpResult& result) {
    if (SendOnce(false, result)) {
        return true;
    }
    // The connection kept since the last upload may have been closed by the server
    // meanwhile (an idle time-out): once nothing of the file went out, try a new one.
    if (result.cancelled || m_job.sent != 0 || !m_session->ReusedConnection()) {
        return false;
    }
    std::rewind(m_job.file);
    result = SFtpResult();
    return SendOnce(true, result);
}

bool CFtpUploadEngine::SendOnce(bool freshConnection, SFtpResult& result) {
    CURL* handle = BeginRequest(m_job.folder + m_job.temporaryName);
    curl_easy_setopt(handle, CURLOPT_FRESH_CONNECT, freshConnection ? 1L : 0L);
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(m_job.size));
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, &CFtpUploadEngine::OnRead);
    curl_easy_setopt(handle, CURLOPT_READDATA, this);
    curl_easy_setopt(handle, CURLOPT_UPLOAD_BUFFERSIZE, kUploadBufferBytes);
    // FTP asks for the size on the same round: one request less per file.
    SCommandList sizeQuery;
    if (!IsSftp()) {
        sizeQuery.list = curl_slist_append(nullptr, ("SIZE " + m_job.temporaryName).c_str());
        curl_easy_setopt(handle, CURLOPT_POSTQUOTE, sizeQuery.list);
    }
    m_job.sending = true;
    m_job.lastProgress = std::chrono::steady_clock::now();
    const bool sent = Perform(EFtpStep::Transfer, result);
    m_job.sending = false;
    if (sent && !IsSftp()) {
        m_job.serverSize = SizeInReply(m_session->Log().lastReply);
    }
    return sent;
}

bool CFtpUploadEngine::CheckSize(SFtpResult& result) {
    if (IsSftp()) {
        CURL* handle = BeginRequest(m_job.folder + m_job.temporaryName);
        curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
        if (!Perform(EFtpStep::Transfer, result)) {
            return false;
        }
        curl_off_t size = -1;
        curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size);
        m_job.serverSize = size;
    }
    if (m_job.serverSize == static_cast<int64_t>(m_job.size)) {
        return true;
    }
    result.step = EFtpStep::Transfer;
    result.reason = m_job.serverSize < 0
                        ? "the server did not tell the size of the uploaded file"
                        : "the server holds " + std::to_string(m_job.serverSize) + " of the " +
                              std::to_string(m_job.size) + " bytes sent";
    return false;
}

bool CFtpUploadEngine::Rename(SFtpResult& result) {
    const std::string from = CommandPath(m_job.temporaryName);
    const std::string to = CommandPath(m_job.name);
    const std::vector<std::string> rename =
        IsSftp() ? std::vector<std::string>{"rename " + from + " " + to}
                 : std::vector<std::string>{"RNFR " + from, "RNTO " + to};
    if (Quote(rename, result)) {
        return true;
    }
    // Some servers refuse to rename over an existing file: delete it, then rename again. Not
    // when the connection failed or the temporary itself was refused (the file would be lost).
    const bool targetRefused = m_job.lastFailure == CURLE_QUOTE_ERROR &&
                               (IsSftp() || m_session->Log().lastCommand == "RNTO");
    if (!targetRefused) {
        return false;
    }
    std::vector<std::string> replace = rename;
    replace.insert(replace.begin(), IsSftp() ? "rm " + to : "DELE " + to);
    SFtpResult second;
    return Quote(replace, second);
}

void CFtpUploadEngine::RemoveTemporary() {
    const std::string path = CommandPath(m_job.temporaryName);
    SFtpResult ignored;
    Quote({IsSftp() ? "rm " + path : "DELE " + path}, ignored);
}

void* CFtpUploadEngine::BeginRequest(const std::string& path) {
    const SFtpSettings& settings = m_job.settings;
    CURL* handle = m_session->Begin();
    curl_easy_setopt(handle, CURLOPT_URL, Url(path).c_str());
    if (!settings.user.empty()) {
        curl_easy_setopt(handle, CURLOPT_USERNAME, settings.user.c_str());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, settings.password.c_str());
    }
    const uint32_t limitMs = settings.timeoutMs == 0 ? kNoLimitMs : settings.timeoutMs;
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limitMs));
    curl_easy_setopt(handle, CURLOPT_SERVER_RESPONSE_TIMEOUT, WholeSeconds(limitMs));

    // An explicit proxy wins over the system's; without either, the environment is ignored.
    if (settings.useProxy && !settings.proxyServer.empty()) {
        curl_easy_setopt(handle, CURLOPT_PROXY, settings.proxyServer.c_str());
    } else if (!settings.systemProxy) {
        curl_easy_setopt(handle, CURLOPT_PROXY, "");
    }
    // FTP's data connections only pass an HTTP proxy through a tunnel.
    curl_easy_setopt(handle, CURLOPT_HTTPPROXYTUNNEL, 1L);

    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &CFtpUploadEngine::OnProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);

    if (IsSftp()) {
        m_hostKeyCheck->Install(handle, m_job.address.HostAndPort(), settings.knownHostsPath,
                                settings.trustedHostKey);
        curl_easy_setopt(handle, CURLOPT_SSH_AUTH_TYPES,
                         static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
        return handle;
    }
    curl_easy_setopt(handle, CURLOPT_FTP_USE_EPSV, settings.passive ? 1L : 0L);
    curl_easy_setopt(handle, CURLOPT_FTPPORT, settings.passive ? nullptr : "-");
    curl_easy_setopt(handle, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    if (m_job.address.protocol == EFtpProtocol::FtpExplicitTls) {
        curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    }
    // Over TLS 1.3, vsftpd answers every few uploads with "426 Failure reading network
    // stream": the data connection ends in a reset. Over TLS 1.2 it does not.
    curl_easy_setopt(handle, CURLOPT_SSLVERSION,
                     static_cast<long>(CURL_SSLVERSION_TLSv1_2 | CURL_SSLVERSION_MAX_TLSv1_2));
    if (!settings.caFile.empty()) {
        curl_easy_setopt(handle, CURLOPT_CAINFO, settings.caFile.c_str());
    }
    return handle;
}

bool CFtpUploadEngine::Perform(EFtpStep requestStep, SFtpResult& result) {
    const CURLcode code = m_session->Perform(m_cancel);
    m_job.lastFailure = code;
    if (code == CURLE_OK) {
        return true;
    }
    Fail(code, requestStep, result);
    return false;
}

bool CFtpUploadEngine::Quote(const std::vector<std::string>& commands, SFtpResult& result) {
    SCommandList list;
    for (const std::string& command : commands) {
        list.list = curl_slist_append(list.list, command.c_str());
    }
    CURL* handle = BeginRequest(m_job.folder);
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(handle, CURLOPT_POSTQUOTE, list.list);
    return Perform(EFtpStep::Rename, result);
}

void CFtpUploadEngine::Fail(int failure, EFtpStep requestStep, SFtpResult& result) const {
    const CURLcode code = static_cast<CURLcode>(failure);
    result.ok = false;
    result.cancelled = code == CURLE_ABORTED_BY_CALLBACK && m_cancel;
    result.step = FailedStep(code, requestStep);
    result.reason = FailureReason(code, result);
    if (result.step == EFtpStep::HostKey) {
        result.offeredHostKey = m_hostKeyCheck->RefusedFingerprint();
    }
}

EFtpStep CFtpUploadEngine::FailedStep(int failure, EFtpStep requestStep) const {
    const CURLcode code = static_cast<CURLcode>(failure);
    const std::string& lastCommand = m_session->Log().lastCommand;
    const bool beforeData = m_job.sending && m_job.sent == 0;
    if (m_job.readFailed) {
        return EFtpStep::LocalFile;
    }
    if (m_job.stalled) {
        return EFtpStep::Transfer;
    }
    if (IsConnectFailure(code)) {
        return EFtpStep::Connect;
    }
    if (IsTlsFailure(code)) {
        return IsSftp() ? EFtpStep::HostKey : EFtpStep::Tls;
    }
    if (code == CURLE_LOGIN_DENIED) {
        return EFtpStep::Login;
    }
    if (!IsSftp()) {
        if (code == CURLE_UPLOAD_FAILED && lastCommand == "STOR") {
            return EFtpStep::Folder; // the server will not store files in the folder
        }
        return m_job.sending ? StepOfCommand(lastCommand) : requestStep;
    }
    // SFTP tells no commands: the code and whether data went out place the failure.
    if (beforeData && (code == CURLE_REMOTE_FILE_NOT_FOUND || code == CURLE_REMOTE_ACCESS_DENIED)) {
        return EFtpStep::Folder;
    }
    return beforeData && code != CURLE_UPLOAD_FAILED ? EFtpStep::Connect : requestStep;
}

std::string CFtpUploadEngine::FailureReason(int failure, const SFtpResult& result) const {
    const CURLcode code = static_cast<CURLcode>(failure);
    const std::string text = m_session->ErrorText(code);
    const std::string& reply = m_session->Log().lastErrorReply;
    if (result.cancelled) {
        return "cancelled";
    }
    if (m_job.stalled) {
        return "no data went through for " + std::to_string(m_job.settings.timeoutMs) +
               " ms (the connection timeout)";
    }
    if (m_job.readFailed) {
        return std::string("reading the local file failed: ") + std::strerror(m_job.readError);
    }
    if (result.step == EFtpStep::HostKey && !m_hostKeyCheck->Refusal().empty()) {
        return m_hostKeyCheck->Refusal();
    }
    if (code == CURLE_PEER_FAILED_VERIFICATION) {
        return "the certificate of " + m_job.address.host + " cannot be verified: " + text;
    }
    return reply.empty() ? text : reply + " (" + text + ")";
}

std::string CFtpUploadEngine::Url(const std::string& path) const {
    const bool absolute = !path.empty() && path[0] == '/';
    std::string encoded;
    size_t start = absolute ? 1 : 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        char* segment =
            curl_easy_escape(nullptr, path.data() + start, static_cast<int>(end - start));
        encoded += segment;
        curl_free(segment);
        if (end < path.size()) {
            encoded += '/';
        }
        start = end + 1;
    }
    // FTP paths start in the login folder unless "%2F" says the root; SFTP's at the root
    // unless "~" says the home folder.
    if (IsSftp()) {
        return m_job.address.UrlPrefix() + (absolute ? "/" : "/~/") + encoded;
    }
    return m_job.address.UrlPrefix() + (absolute ? "/%2F" : "/") + encoded;
}

std::string CFtpUploadEngine::CommandPath(const std::string& name) const {
    // FTP commands run in the target folder; SFTP commands take whole paths.
    return IsSftp() ? Quoted(m_job.folder + name) : name;
}

size_t CFtpUploadEngine::OnRead(char* buffer, size_t size, size_t count, void* self) {
    SJob& job = static_cast<CFtpUploadEngine*>(self)->m_job;
    const size_t read = std::fread(buffer, size, count, job.file);
    if (read < count && std::ferror(job.file)) {
        job.readFailed = true;
        job.readError = errno;
        return CURL_READFUNC_ABORT;
    }
    return read;
}

int CFtpUploadEngine::OnProgress(void* self, int64_t, int64_t, int64_t, int64_t sent) {
    CFtpUploadEngine& engine = *static_cast<CFtpUploadEngine*>(self);
    if (engine.m_cancel) {
        return 1;
    }
    return engine.m_job.sending && !engine.KeepsMoving(static_cast<uint64_t>(sent)) ? 1 : 0;
}

bool CFtpUploadEngine::KeepsMoving(uint64_t sent) {
    const auto now = std::chrono::steady_clock::now();
    if (sent != m_job.sent) {
        m_job.sent = sent;
        m_job.lastProgress = now;
        if (*m_job.progress) {
            (*m_job.progress)(sent, m_job.size);
        }
        return true;
    }
    // Before the first byte, connecting and logging in have their own time-outs; once all
    // is sent, so does the wait for the server's confirmation.
    const auto allowed = std::chrono::milliseconds(m_job.settings.timeoutMs);
    m_job.stalled = m_job.settings.timeoutMs != 0 && sent > 0 && sent < m_job.size &&
                    now - m_job.lastProgress > allowed;
    return !m_job.stalled;
}
