#include "ServiceChannel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

int Socket(void* handle) {
    return static_cast<int>(reinterpret_cast<intptr_t>(handle)) - 1;
}

// The handle keeps fd + 1, so that a null handle means "not connected" and fd 0 is possible.
void* Handle(int socket) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(socket) + 1);
}

int RemainingMs(CServiceChannel::Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - CServiceChannel::Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, INT32_MAX));
}

bool WaitFor(int socket, short events, CServiceChannel::Clock::time_point deadline) {
    pollfd entry{socket, events, 0};
    int ready = 0;
    do
        ready = poll(&entry, 1, RemainingMs(deadline));
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}

} // namespace

std::string CServiceChannel::DefaultAddress() {
    return "/run/tarvon4.sock";
}

bool CServiceChannel::Connect(const std::string& address, Clock::time_point deadline) {
    Close();
    sockaddr_un peer{};
    peer.sun_family = AF_UNIX;
    if (address.empty() || address.size() >= sizeof peer.sun_path)
        return false;
    std::memcpy(peer.sun_path, address.data(), address.size());
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    m_handle = Handle(socket);
    // A full backlog would block connect; the send timeout bounds that wait.
    const int waitMs = std::max(RemainingMs(deadline), 1);
    timeval limit{waitMs / 1000, (waitMs % 1000) * 1000};
    setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (connect(socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        Close();
        return false;
    }
    return true;
}

bool CServiceChannel::Send(const std::string& text, Clock::time_point deadline) {
    const int socket = Socket(m_handle);
    size_t sent = 0;
    while (m_handle != nullptr && sent < text.size()) {
        const ssize_t count =
            send(socket, text.data() + sent, text.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count > 0)
            sent += static_cast<size_t>(count);
        else if (count < 0 && errno == EINTR)
            continue;
        else if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
                 WaitFor(socket, POLLOUT, deadline))
            continue;
        else
            return false;
    }
    return m_handle != nullptr;
}

bool CServiceChannel::ReceiveLine(std::string& line, Clock::time_point deadline) {
    line.clear();
    const int socket = Socket(m_handle);
    while (m_handle != nullptr && WaitFor(socket, POLLIN, deadline)) {
        char byte = 0;
        const ssize_t count = recv(socket, &byte, 1, MSG_DONTWAIT);
        if (count == 1 && byte == '\n')
            return true;
        if (count == 1)
            line.push_back(byte);
        else if (count == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
            return false;
    }
    return false;
}

void CServiceChannel::Close() {
    if (m_handle != nullptr)
        close(Socket(m_handle));
    m_handle = nullptr;
}
