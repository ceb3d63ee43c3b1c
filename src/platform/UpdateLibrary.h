#pragma once

#include <cstdint>
#include <string>

// The product's update library: hands a script URL to the update service.
class CUpdateLibrary {
public:
    virtual ~CUpdateLibrary() = default;
    // Entry point 1: hands the URL over and returns.
    virtual void Tarvon(const std::string& url) = 0;
    // Entry point 2: hands the URL over and waits for the service, at most timeoutMs.
    virtual void TarvonWait(const std::string& url, int32_t timeoutMs) = 0;
};
