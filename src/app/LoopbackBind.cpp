// Preloaded by scripts/run when the window is served over VNC: Qt's VNC platform plugin
// listens on every interface, which would let anyone on the network drive the window. This
// turns the plugin's "any address" bind on the port in BREVANE_LOOPBACK_PORT into a bind on
// the loopback address; every other bind passes through unchanged.
#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <cstring>

namespace {

using BindFn = int (*)(int, const sockaddr*, socklen_t);

in_port_t LoopbackPort() {
    const char* port = std::getenv("BREVANE_LOOPBACK_PORT");
    return htons(static_cast<in_port_t>(port != nullptr ? std::atoi(port) : 0));
}

} // namespace

extern "C" int bind(int socket, const sockaddr* address, socklen_t length) {
    static const BindFn systemBind = reinterpret_cast<BindFn>(dlsym(RTLD_NEXT, "bind"));
    const in_port_t port = LoopbackPort();
    if (port != 0 && address != nullptr && address->sa_family == AF_INET6 &&
        length >= sizeof(sockaddr_in6)) {
        sockaddr_in6 loopback;
        std::memcpy(&loopback, address, sizeof loopback);
        if (loopback.sin6_port == port &&
            std::memcmp(&loopback.sin6_addr, &in6addr_any, sizeof in6addr_any) == 0) {
            // The IPv4 loopback in its IPv6 form keeps 127.0.0.1 reachable on a dual-stack
            // socket, which is how Qt listens on "any".
            inet_pton(AF_INET6, "::ffff:127.0.0.1", &loopback.sin6_addr);
            return systemBind(socket, reinterpret_cast<const sockaddr*>(&loopback), length);
        }
    }
    if (port != 0 && address != nullptr && address->sa_family == AF_INET &&
        length >= sizeof(sockaddr_in)) {
        sockaddr_in loopback;
        std::memcpy(&loopback, address, sizeof loopback);
        if (loopback.sin_port == port && loopback.sin_addr.s_addr == htonl(INADDR_ANY)) {
            loopback.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            return systemBind(socket, reinterpret_cast<const sockaddr*>(&loopback), length);
        }
    }
    return systemBind(socket, address, length);
}
