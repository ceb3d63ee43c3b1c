#include "ftp/CurlSession.h"

#include <cctype>
#include <new>

namespace {

// The longest wait on the network between two looks at the cancel flag.
constexpr int kPollMs = 50;

size_t Discard(char*, size_t size, size_t count, void*) {
    return size * count;
}

bool IsErrorReply(const std::string& line) {
    return line.size() >= 3 && (line[0] == '4' || line[0] == '5') &&
           std::isdigit(static_cast<unsigned char>(line[1])) &&
           std::isdigit(static_cast<unsigned char>(line[2]));
}

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    return line;
}

} // namespace

CCurlSession::CCurlSession() : m_multi(curl_multi_init()), m_easy(curl_easy_init()) {
    if (m_multi == nullptr || m_easy == nullptr) {
        curl_easy_cleanup(m_easy);
        curl_multi_cleanup(m_multi);
        throw std::bad_alloc();
    }
    // One server at a time: a connection to another server or user replaces the last one.
    curl_multi_setopt(m_multi, CURLMOPT_MAXCONNECTS, 1L);
    m_errorBuffer[0] = '\0';
}

CCurlSession::~CCurlSession() {
    curl_easy_cleanup(m_easy);
    curl_multi_cleanup(m_multi);
}

CURL* CCurlSession::Begin() {
    curl_easy_reset(m_easy);
    m_log = SCurlRequestLog();
    m_errorBuffer[0] = '\0';
    curl_easy_setopt(m_easy, CURLOPT_ERRORBUFFER, m_errorBuffer);
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    // Uploads download nothing; a size query's header lines are not for standard output.
    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &Discard);
    // The debug callback sees the commands and replies; it needs verbose mode to be called.
    curl_easy_setopt(m_easy, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(m_easy, CURLOPT_DEBUGFUNCTION, &CCurlSession::OnDebug);
    curl_easy_setopt(m_easy, CURLOPT_DEBUGDATA, this);
    return m_easy;
}

CURLcode CCurlSession::Perform(const std::atomic<bool>& cancel) {
    if (curl_multi_add_handle(m_multi, m_easy) != CURLM_OK) {
        return CURLE_FAILED_INIT;
    }
    CURLcode result = CURLE_OK;
    for (;;) {
        int running = 0;
        // libcurl 7.88 can end a step of an FTP transfer (the EPSV reply, before it opens the
        // data connection) with neither a socket nor a timer to wait for, so a poll would
        // sleep its whole time-out; a second call at once takes the next step.
        if (curl_multi_perform(m_multi, &running) != CURLM_OK ||
            curl_multi_perform(m_multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (cancel) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        int queued = 0;
        CURLMsg* message = curl_multi_info_read(m_multi, &queued);
        if (message != nullptr && message->msg == CURLMSG_DONE) {
            result = message->data.result;
            break;
        }
        curl_multi_poll(m_multi, nullptr, 0, kPollMs, nullptr);
    }
    curl_multi_remove_handle(m_multi, m_easy);
    m_previousRequestSucceeded = m_lastRequestSucceeded;
    m_lastRequestSucceeded = result == CURLE_OK;
    return result;
}

void CCurlSession::WakeUp() {
    curl_multi_wakeup(m_multi);
}

bool CCurlSession::ReusedConnection() const {
    long newConnections = 0;
    curl_easy_getinfo(m_easy, CURLINFO_NUM_CONNECTS, &newConnections);
    return m_previousRequestSucceeded && newConnections == 0;
}

std::string CCurlSession::ErrorText(CURLcode code) const {
    return m_errorBuffer[0] != '\0' ? std::string(m_errorBuffer) : curl_easy_strerror(code);
}

int CCurlSession::OnDebug(CURL*, curl_infotype type, char* data, size_t size, void* self) {
    if (type == CURLINFO_HEADER_OUT || type == CURLINFO_HEADER_IN) {
        static_cast<CCurlSession*>(self)->Record(type, WithoutLineEnd(std::string(data, size)));
    }
    return 0;
}

void CCurlSession::Record(curl_infotype type, const std::string& line) {
    if (type == CURLINFO_HEADER_OUT) {
        std::string verb = line.substr(0, line.find(' '));
        for (char& c : verb) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        m_log.lastCommand = verb;
        m_log.lastErrorReply.clear();
        return;
    }
    m_log.lastReply = line;
    if (IsErrorReply(line)) {
        m_log.lastErrorReply = line;
    }
}
