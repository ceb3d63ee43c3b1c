#pragma once

#include <sys/resource.h>

// While alive, this process cannot make a file longer than the limit: a write past it fails
// with EFBIG ("File too large"), as a write to a full disk fails. Works for root too, unlike
// a folder without write permission.
class CFileSizeLimit {
public:
    // Lowers the soft limit to limit bytes and ignores the signal that would end the process.
    explicit CFileSizeLimit(rlim_t limit);
    // Restores the limit and the signal's handling.
    ~CFileSizeLimit();

    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_previousHandler)(int) = nullptr;
};
