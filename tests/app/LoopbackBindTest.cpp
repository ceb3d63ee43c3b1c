#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

using BindFn = int (*)(int, const sockaddr*, socklen_t);

// The preloadable shim's bind, called directly; it forwards to the system's bind.
class LoopbackBindTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_shim = dlopen(BREVANE_LOOPBACK_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_shim, nullptr) << dlerror();
        m_bind = reinterpret_cast<BindFn>(dlsym(m_shim, "bind"));
        ASSERT_NE(m_bind, nullptr);
    }
    void TearDown() override {
        unsetenv("BREVANE_LOOPBACK_PORT");
        if (m_shim != nullptr)
            dlclose(m_shim);
    }

    // A port nobody uses right now.
    static in_port_t FreePort() {
        const int probe = socket(AF_INET6, SOCK_STREAM, 0);
        sockaddr_in6 address{};
        address.sin6_family = AF_INET6;
        socklen_t length = sizeof address;
        bind(probe, reinterpret_cast<sockaddr*>(&address), length);
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
        close(probe);
        return ntohs(address.sin6_port);
    }

    // Binds a dual-stack socket to "any" on port through the shim; the address it got.
    std::string BindAnyThroughShim(in_port_t port) {
        const int socket = ::socket(AF_INET6, SOCK_STREAM, 0);
        const int dualStack = 0;
        setsockopt(socket, IPPROTO_IPV6, IPV6_V6ONLY, &dualStack, sizeof dualStack);
        sockaddr_in6 address{};
        address.sin6_family = AF_INET6;
        address.sin6_addr = in6addr_any;
        address.sin6_port = htons(port);
        socklen_t length = sizeof address;
        std::string bound = "bind failed";
        if (m_bind(socket, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            char text[INET6_ADDRSTRLEN] = {};
            bound = inet_ntop(AF_INET6, &address.sin6_addr, text, sizeof text);
        }
        close(socket);
        return bound;
    }

    void* m_shim = nullptr;
    BindFn m_bind = nullptr;
};

TEST_F(LoopbackBindTest, KeepsTheServedPortOnTheLoopbackAddress) {
    const in_port_t port = FreePort();
    setenv("BREVANE_LOOPBACK_PORT", std::to_string(port).c_str(), 1);
    EXPECT_EQ(BindAnyThroughShim(port), "::ffff:127.0.0.1");
}

TEST_F(LoopbackBindTest, LeavesOtherPortsAndUnsetPortAlone) {
    const in_port_t port = FreePort();
    setenv("BREVANE_LOOPBACK_PORT", std::to_string(port + 1).c_str(), 1);
    EXPECT_EQ(BindAnyThroughShim(port), "::");
    unsetenv("BREVANE_LOOPBACK_PORT");
    EXPECT_EQ(BindAnyThroughShim(FreePort()), "::");
}

} // namespace
