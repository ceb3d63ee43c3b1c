#pragma once

#include <chrono>
#include <string>

// One connection to the update service: a Unix socket on Linux, a named pipe on Windows.
class CServiceChannel {
public:
    using Clock = std::chrono::steady_clock;

    // Not connected yet.
    CServiceChannel() = default;
    // Closes the connection if one is open.
    ~CServiceChannel();
    CServiceChannel(const CServiceChannel&) = delete;
    CServiceChannel& operator=(const CServiceChannel&) = delete;

    // The service's address: $TARVON4_SOCKET when set, else the platform's fixed place.
    static std::string Address();
    // Connects to the service; false at once when nothing listens there.
    bool Connect(const std::string& address, Clock::time_point deadline);
    // Sends the whole text; false when the service went away or the deadline passed.
    bool Send(const std::string& text, Clock::time_point deadline);
    // Reads up to and without the first line feed; false on end, error or the deadline.
    bool ReceiveLine(std::string& line, Clock::time_point deadline);

private:
    // The platform's fixed address of the service.
    static std::string DefaultAddress();
    void Close();

    void* m_handle = nullptr; // the socket or pipe; the OS file says what it holds
};
