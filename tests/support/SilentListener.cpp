#include "SilentListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

CSilentListener::CSilentListener() : m_socket(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    // The kernel completes connections into the backlog; nobody ever accepts or answers.
    if (::bind(m_socket, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(m_socket, 16) != 0 ||
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(m_socket);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    m_port = ntohs(address.sin_port);
}

CSilentListener::~CSilentListener() {
    ::close(m_socket);
}
