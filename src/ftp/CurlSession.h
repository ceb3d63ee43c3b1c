#pragma once

#include <curl/curl.h>

#include <atomic>
#include <string>

// What the server was told and answered during one request.
struct SCurlRequestLog {
    std::string lastCommand;    // the verb of the last FTP command sent ("STOR"); empty: none
    std::string lastErrorReply; // the last FTP reply line with a 4xx or 5xx code
    std::string lastReply;      // the last FTP reply line
};

// One libcurl easy handle run on its own multi handle, so that the connection and its login
// outlive each request and a cancel is seen at once rather than at libcurl's next tick.
class CCurlSession {
public:
    // Makes the handles; throws std::bad_alloc when libcurl cannot.
    CCurlSession();
    // Closes the connection the session holds.
    ~CCurlSession();
    CCurlSession(const CCurlSession&) = delete;
    CCurlSession& operator=(const CCurlSession&) = delete;

    // Clears the options of the previous request (not the connection) and returns the
    // handle for the next request's options.
    CURL* Begin();
    // Runs the request until done or until cancel is set; CURLE_ABORTED_BY_CALLBACK then.
    CURLcode Perform(const std::atomic<bool>& cancel);
    // Wakes a Perform waiting on the network, from any thread.
    void WakeUp();

    // Whether the last request ran on a connection a successful earlier request had left
    // open (rather than on one it opened, or none).
    bool ReusedConnection() const;
    // The commands and replies of the last request.
    const SCurlRequestLog& Log() const { return m_log; }
    // libcurl's text for the last failure, or the code's generic text.
    std::string ErrorText(CURLcode code) const;

private:
    static int OnDebug(CURL* handle, curl_infotype type, char* data, size_t size, void* self);
    void Record(curl_infotype type, const std::string& line);

    CURLM* m_multi;
    CURL* m_easy;
    char m_errorBuffer[CURL_ERROR_SIZE];
    SCurlRequestLog m_log;
    bool m_lastRequestSucceeded = false; // so libcurl kept its connection
    bool m_previousRequestSucceeded = false;
};
