#include "FakeUpdateLibrary.h"

void CFakeUpdateLibrary::Tarvon(const std::string& url) {
    m_calls.push_back({url, std::nullopt});
}

void CFakeUpdateLibrary::TarvonWait(const std::string& url, int32_t timeoutMs) {
    m_calls.push_back({url, timeoutMs});
}
