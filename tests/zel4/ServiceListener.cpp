#include "ServiceListener.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

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

} // namespace

CServiceListener::CServiceListener(Reply reply, std::string answer, int waitMs)
    : m_reply(reply), m_answer(std::move(answer)), m_released(m_release.get_future().share()) {
    char folder[] = "/tmp/zel4-test-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        throw std::runtime_error("no temporary folder");
    m_folder = folder;
    m_address = m_folder + "/service.sock";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, m_address.c_str(), sizeof address.sun_path - 1);
    m_socket = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_socket < 0 || bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) ||
        listen(m_socket, 4) != 0)
        throw std::runtime_error("cannot listen on " + m_address);
    m_request = std::async(std::launch::async, [this, waitMs] { return Serve(waitMs); });
}

CServiceListener::~CServiceListener() {
    m_release.set_value();
    if (m_request.valid())
        m_request.wait();
    close(m_socket);
    unlink(m_address.c_str());
    rmdir(m_folder.c_str());
}

std::optional<std::string> CServiceListener::Request() {
    return m_request.get();
}

std::optional<std::string> CServiceListener::Serve(int waitMs) {
    if (!WaitReadable(m_socket, waitMs))
        return std::nullopt;
    const int client = accept(m_socket, nullptr, nullptr);
    const std::string line = ReadLine(client);
    if (m_reply == Reply::Answer)
        send(client, (m_answer + '\n').data(), m_answer.size() + 1, MSG_NOSIGNAL);
    if (m_reply == Reply::Silence)
        WaitForHangUp(client, m_released);
    close(client);
    return line;
}

CSocketOverride::CSocketOverride(const std::string& address) {
    if (const char* previous = std::getenv("TARVON4_SOCKET"))
        m_previous = previous;
    setenv("TARVON4_SOCKET", address.c_str(), 1);
}

CSocketOverride::~CSocketOverride() {
    if (m_previous)
        setenv("TARVON4_SOCKET", m_previous->c_str(), 1);
    else
        unsetenv("TARVON4_SOCKET");
}
