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

// An IPv6 "any" address on the port becomes the IPv4 loopback in its IPv6 form, which keeps
// 127.0.0.1 reachable on a dual-stack socket (Qt listens on "any" that way).
bool ToLoopback(sockaddr_in6& address, in_port_t port) {
    if (address.sin6_port != port ||
        std::memcmp(&address.sin6_addr, &in6addr_any, sizeof in6addr_any) != 0)
        return false;
    return inet_pton(AF_INET6, "::ffff:127.0.0.1", &address.sin6_addr) == 1;
}

bool ToLoopback(sockaddr_in& address, in_port_t port) {
    if (address.sin_port != port || address.sin_addr.s_addr != htonl(INADDR_ANY))
        return false;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return true;
}

// Binds a copy of the address, moved to the loopback address when it is "any" on port.
template <typename Address>
int BindCopy(BindFn systemBind, int socket, const sockaddr* address, socklen_t length,
             in_port_t port) {
    Address copy;
    std::memcpy(&copy, address, sizeof copy);
    return ToLoopback(copy, port)
               ? systemBind(socket, reinterpret_cast<const sockaddr*>(&copy), length)
               : systemBind(socket, address, length);
}

} // namespace

extern "C" int bind(int socket, const sockaddr* address, socklen_t length) {
    static const BindFn systemBind = reinterpret_cast<BindFn>(dlsym(RTLD_NEXT, "bind"));
    const in_port_t port = LoopbackPort();
    if (port == 0 || address == nullptr)
        return systemBind(socket, address, length);
    if (address->sa_family == AF_INET6 && length >= sizeof(sockaddr_in6))
        return BindCopy<sockaddr_in6>(systemBind, socket, address, length, port);
    if (address->sa_family == AF_INET && length >= sizeof(sockaddr_in))
        return BindCopy<sockaddr_in>(systemBind, socket, address, length, port);
    return systemBind(socket, address, length);
}
