#include "ServiceChannel.h"

#include <windows.h>

#include <algorithm>

namespace {

DWORD RemainingMs(CServiceChannel::Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - CServiceChannel::Clock::now());
    return static_cast<DWORD>(std::clamp<long long>(left.count(), 0, INFINITE - 1));
}

// Waits for an overlapped transfer until the deadline; cancels it when time runs out.
bool FinishTransfer(HANDLE pipe, OVERLAPPED& transfer, BOOL started, DWORD& count,
                    CServiceChannel::Clock::time_point deadline) {
    if (!started && GetLastError() != ERROR_IO_PENDING)
        return false;
    if (WaitForSingleObject(transfer.hEvent, RemainingMs(deadline)) != WAIT_OBJECT_0) {
        CancelIo(pipe);
        GetOverlappedResult(pipe, &transfer, &count, TRUE);
        return false;
    }
    return GetOverlappedResult(pipe, &transfer, &count, FALSE) != FALSE;
}

// One overlapped read or write of up to size bytes; the number moved, or -1.
template <typename Start>
long Transfer(HANDLE pipe, CServiceChannel::Clock::time_point deadline, Start start) {
    OVERLAPPED transfer{};
    transfer.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (transfer.hEvent == nullptr)
        return -1;
    DWORD count = 0;
    const bool done = FinishTransfer(pipe, transfer, start(&transfer), count, deadline);
    CloseHandle(transfer.hEvent);
    return done ? static_cast<long>(count) : -1;
}

} // namespace

std::string CServiceChannel::DefaultAddress() {
    return "\\\\.\\pipe\\tarvon4";
}

bool CServiceChannel::Connect(const std::string& address, Clock::time_point deadline) {
    Close();
    HANDLE pipe = CreateFileA(address.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    // A pipe whose instances are all busy is worth one short wait; a missing one is not.
    if (pipe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PIPE_BUSY &&
        WaitNamedPipeA(address.c_str(), std::min<DWORD>(RemainingMs(deadline), 1000)))
        pipe = CreateFileA(address.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    if (pipe == INVALID_HANDLE_VALUE)
        return false;
    // An address that names a file or device would take the request as data to write.
    if (GetFileType(pipe) != FILE_TYPE_PIPE) {
        CloseHandle(pipe);
        return false;
    }
    m_handle = pipe;
    return true;
}

bool CServiceChannel::Send(const std::string& text, Clock::time_point deadline) {
    HANDLE pipe = static_cast<HANDLE>(m_handle);
    size_t sent = 0;
    while (pipe != nullptr && sent < text.size()) {
        const long count = Transfer(pipe, deadline, [&](OVERLAPPED* transfer) {
            return WriteFile(pipe, text.data() + sent, static_cast<DWORD>(text.size() - sent),
                             nullptr, transfer);
        });
        if (count <= 0)
            return false;
        sent += static_cast<size_t>(count);
    }
    return pipe != nullptr;
}

bool CServiceChannel::ReceiveLine(std::string& line, Clock::time_point deadline) {
    line.clear();
    HANDLE pipe = static_cast<HANDLE>(m_handle);
    char byte = 0;
    // A service that keeps sending without a line end is given up at the deadline too.
    while (pipe != nullptr && Clock::now() < deadline &&
           Transfer(pipe, deadline, [&](OVERLAPPED* transfer) {
               return ReadFile(pipe, &byte, 1, nullptr, transfer);
           }) == 1) {
        if (byte == '\n')
            return true;
        line.push_back(byte);
    }
    return false;
}

void CServiceChannel::Close() {
    if (m_handle != nullptr)
        CloseHandle(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
}
