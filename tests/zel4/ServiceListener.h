#pragma once

#include "EnvironmentOverride.h"

#include <future>
#include <memory>
#include <optional>
#include <string>

// A stand-in update service for tests: a Unix socket in a temporary folder, or a named pipe on
// Windows, that takes one connection, reads one request line and answers it, hangs up, stays
// silent or sends without a line end until the client leaves, as told.
class CServiceListener {
public:
    enum class Reply { Answer, Silence, HangUp, Chatter };

    // Listens at a fresh address for waitMs; Address() is where clients reach it.
    explicit CServiceListener(Reply reply, std::string answer = "DONE", int waitMs = 3000);
    // Lets a silent listener go, waits for it and removes its address.
    ~CServiceListener();
    CServiceListener(const CServiceListener&) = delete;
    CServiceListener& operator=(const CServiceListener&) = delete;

    // The address, for TARVON4_SOCKET.
    const std::string& Address() const { return m_address; }
    // The request line received, with its line feed; nothing when no client came in time.
    std::optional<std::string> Request();
    // An address of the platform's kind where no service listens.
    static std::string UnusedAddress();

private:
    struct SEndpoint; // the listening socket or pipe; each OS file defines it

    // Opens the endpoint; a client may connect as soon as it returns.
    void Listen();
    std::optional<std::string> Serve(int waitMs);
    void Close();

    Reply m_reply;
    std::string m_answer;
    std::string m_address;
    std::shared_ptr<SEndpoint> m_endpoint; // shared: only the OS file knows how to delete it
    std::promise<void> m_release;          // lets a silent listener drop its client at the end
    std::shared_future<void> m_released;
    std::future<std::optional<std::string>> m_request;
};

// Points the update library at a listener's address for the lifetime of the object.
class CSocketOverride final : public CEnvironmentOverride {
public:
    // Sets TARVON4_SOCKET to address.
    explicit CSocketOverride(const std::string& address)
        : CEnvironmentOverride("TARVON4_SOCKET", address) {}
};
