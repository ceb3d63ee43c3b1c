#pragma once

#include <future>
#include <optional>
#include <string>

// A stand-in update service for tests: a Unix socket in a temporary folder that takes one
// connection, reads one request line and answers it, hangs up, or stays silent until the
// client leaves, as told.
class CServiceListener {
public:
    enum class Reply { Answer, Silence, HangUp };

    // Listens on a fresh socket for waitMs; Address() is where clients reach it.
    explicit CServiceListener(Reply reply, std::string answer = "DONE", int waitMs = 3000);
    ~CServiceListener();
    CServiceListener(const CServiceListener&) = delete;
    CServiceListener& operator=(const CServiceListener&) = delete;

    // The socket's path, for TARVON4_SOCKET.
    const std::string& Address() const { return m_address; }
    // The request line received, with its line feed; nothing when no client came in time.
    std::optional<std::string> Request();

private:
    std::optional<std::string> Serve(int waitMs);

    Reply m_reply;
    std::string m_answer;
    std::string m_folder;
    std::string m_address;
    int m_socket = -1;
    std::promise<void> m_release; // lets a silent listener drop its client at the end
    std::shared_future<void> m_released;
    std::future<std::optional<std::string>> m_request;
};

// Sets TARVON4_SOCKET for the lifetime of the object and restores the previous state.
class CSocketOverride {
public:
    explicit CSocketOverride(const std::string& address);
    ~CSocketOverride();
    CSocketOverride(const CSocketOverride&) = delete;
    CSocketOverride& operator=(const CSocketOverride&) = delete;

private:
    std::optional<std::string> m_previous;
};
