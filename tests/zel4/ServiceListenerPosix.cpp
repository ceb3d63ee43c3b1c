#include "ServiceListener.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

struct CServiceListener::SEndpoint {
    std::string folder;
    int socket = -1;
};

namespace {

bool WaitReadable(int socket, int waitMs) {
    pollfd entry{socket, POLLIN, 0};
    return poll(&entry, 1, waitMs) > 0;
}

std::string ReadLine(int client) {
    std::string line;
    char byte = 0;
    while (WaitReadable(client, 2000) && recv(client, &byte, 1, 0) == 1) {
        line.push_back(byte);
        if (byte == '\n')
            break;
    }
    return line;
}

// A silent service keeps the connection until the client drops it or the test ends.
void WaitForHangUp(int client, const std::shared_future<void>& released) {
    char byte = 0;
    while (released.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        if (WaitReadable(client, 50) && recv(client, &byte, 1, 0) <= 0)
            return;
}

// A chatty service sends bytes but never a line end, until the client drops it or the test ends.
void ChatUntilHangUp(int client, const std::shared_future<void>& released) {
    // Faster than the client reads byte by byte, so that there is always more to read.
    const std::string chunk(64, 'x');
    while (released.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        if (send(client, chunk.data(), chunk.size(), MSG_NOSIGNAL) <= 0)
            return;
}

} // namespace

std::string CServiceListener::UnusedAddress() {
    return "/tmp/zel4-test-no-such-folder/service.sock";
}

void CServiceListener::Listen() {
    m_endpoint = std::make_shared<SEndpoint>();
    char folder[] = "/tmp/zel4-test-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        throw std::runtime_error("no temporary folder");
    m_endpoint->folder = folder;
    m_address = m_endpoint->folder + "/service.sock";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, m_address.c_str(), sizeof address.sun_path - 1);
    m_endpoint->socket = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_endpoint->socket < 0 ||
        bind(m_endpoint->socket, reinterpret_cast<sockaddr*>(&address), sizeof address) ||
        listen(m_endpoint->socket, 4) != 0)
        throw std::runtime_error("cannot listen on " + m_address);
}

std::optional<std::string> CServiceListener::Serve(int waitMs) {
    if (!WaitReadable(m_endpoint->socket, waitMs))
        return std::nullopt;
    const int client = accept(m_endpoint->socket, nullptr, nullptr);
    const std::string line = ReadLine(client);
    if (m_reply == Reply::Answer)
        send(client, (m_answer + '\n').data(), m_answer.size() + 1, MSG_NOSIGNAL);
    if (m_reply == Reply::Silence)
        WaitForHangUp(client, m_released);
    if (m_reply == Reply::Chatter)
        ChatUntilHangUp(client, m_released);
    close(client);
    return line;
}

void CServiceListener::Close() {
    close(m_endpoint->socket);
    unlink(m_address.c_str());
    rmdir(m_endpoint->folder.c_str());
}
