#include "ServiceChannel.h"

#include <cstdlib>

std::string CServiceChannel::Address() {
    const char* configured = std::getenv("TARVON4_SOCKET");
    return configured != nullptr && *configured != '\0' ? configured : DefaultAddress();
}

CServiceChannel::~CServiceChannel() {
    Close();
}
