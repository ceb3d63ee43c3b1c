#include "zel4/zel4.h"

#include "ServiceListener.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

TEST(Zel4Tarvon, ReturnsAtOnceWhenTheServiceLeftItsSocketBehind) {
    char folder[] = "/tmp/zel4-test-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/stale.sock";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(socket); // the file stays, nobody listens
    {
        CSocketOverride stale(path);
        EXPECT_EQ(Tarvon("http://host/script.txt"), 0);
        EXPECT_EQ(TarvonWait("http://host/script.txt", 60000), 0);
    }
    unlink(path.c_str());
    rmdir(folder);
}

} // namespace
