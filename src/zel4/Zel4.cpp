#include "zel4/zel4.h"

#include "ServiceChannel.h"

#include <cstring>

namespace {

using Clock = CServiceChannel::Clock;

// How long Tarvon may spend reaching a service that is slow to accept.
constexpr std::chrono::milliseconds kHandOverLimit{1000};

// The request line "<verb> <url>\n"; empty when the URL cannot travel on one line.
std::string RequestLine(const char* verb, const char* url) {
    const char* text = url != nullptr ? url : "";
    if (std::strpbrk(text, "\r\n") != nullptr)
        return std::string();
    return std::string(verb) + ' ' + text + '\n';
}

} // namespace

int Tarvon(const char* url) {
    const std::string request = RequestLine("TARVON", url);
    const Clock::time_point deadline = Clock::now() + kHandOverLimit;
    CServiceChannel channel;
    return !request.empty() && channel.Connect(CServiceChannel::Address(), deadline) &&
                   channel.Send(request, deadline)
               ? 1
               : 0;
}

int TarvonWait(const char* url, int timeout_ms) {
    const std::string request = RequestLine("TARVONWAIT", url);
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(timeout_ms > 0 ? timeout_ms : 0);
    CServiceChannel channel;
    std::string answer;
    return !request.empty() && channel.Connect(CServiceChannel::Address(), deadline) &&
                   channel.Send(request, deadline) && channel.ReceiveLine(answer, deadline)
               ? 1
               : 0;
}
