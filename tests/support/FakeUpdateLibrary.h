#pragma once

#include "platform/UpdateLibrary.h"

#include <optional>
#include <vector>

// An update library that records its calls.
class CFakeUpdateLibrary final : public CUpdateLibrary {
public:
    // One call: the URL, and the timeout for TarvonWait (none for Tarvon).
    struct SCall {
        std::string url;
        std::optional<int32_t> timeoutMs;
    };

    void Tarvon(const std::string& url) override;
    void TarvonWait(const std::string& url, int32_t timeoutMs) override;

    // Every call, in order.
    const std::vector<SCall>& Calls() const { return m_calls; }

private:
    std::vector<SCall> m_calls;
};
