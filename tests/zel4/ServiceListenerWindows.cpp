#include "ServiceListener.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

struct CServiceListener::SEndpoint {
    HANDLE pipe = INVALID_HANDLE_VALUE;
    OVERLAPPED io{}; // serves the connect, then each read and write in turn
};

namespace {

// Waits up to waitMs for the pending overlapped call; cancels it when time runs out.
bool Finish(HANDLE pipe, OVERLAPPED& io, int waitMs, DWORD& count) {
    if (WaitForSingleObject(io.hEvent, static_cast<DWORD>(waitMs)) != WAIT_OBJECT_0) {
        CancelIoEx(pipe, &io); // the connect was started by another thread
        GetOverlappedResult(pipe, &io, &count, TRUE);
        return false;
    }
    return GetOverlappedResult(pipe, &io, &count, FALSE) != FALSE;
}

// Finishes a read or write that this thread has just started.
bool Complete(HANDLE pipe, OVERLAPPED& io, BOOL started, int waitMs, DWORD& count) {
    if (!started && GetLastError() != ERROR_IO_PENDING)
        return false;
    return Finish(pipe, io, waitMs, count);
}

std::string ReadLine(HANDLE pipe, OVERLAPPED& io) {
    std::string line;
    char byte = 0;
    DWORD count = 0;
    while (Complete(pipe, io, ReadFile(pipe, &byte, 1, nullptr, &io), 2000, count) && count == 1) {
        line.push_back(byte);
        if (byte == '\n')
            break;
    }
    return line;
}

void WriteAll(HANDLE pipe, OVERLAPPED& io, const std::string& text) {
    DWORD count = 0;
    Complete(pipe, io, WriteFile(pipe, text.data(), static_cast<DWORD>(text.size()), nullptr, &io),
             2000, count);
}

// A silent service keeps the connection until the client drops it or the test ends.
void WaitForHangUp(HANDLE pipe, const std::shared_future<void>& released) {
    DWORD available = 0;
    while (released.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr))
            return;
}

// A chatty service sends bytes but never a line end, until the client drops it or the test ends.
void ChatUntilHangUp(HANDLE pipe, OVERLAPPED& io, const std::shared_future<void>& released) {
    // Faster than the client reads byte by byte, so that there is always more to read.
    const std::string chunk(64, 'x');
    DWORD count = 0;
    while (released.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        if (!Complete(pipe, io, WriteFile(pipe, chunk.data(), 64, nullptr, &io), 2000, count))
            return;
}

} // namespace

std::string CServiceListener::UnusedAddress() {
    return "\\\\.\\pipe\\zel4-test-nobody-listens";
}

void CServiceListener::Listen() {
    static std::atomic<unsigned> serial{0};
    m_endpoint = std::make_shared<SEndpoint>();
    m_address = "\\\\.\\pipe\\zel4-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++serial);
    m_endpoint->pipe = CreateNamedPipeA(
        m_address.c_str(),
        PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
    m_endpoint->io.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (m_endpoint->pipe == INVALID_HANDLE_VALUE || m_endpoint->io.hEvent == nullptr)
        throw std::runtime_error("cannot listen on " + m_address);
    // The pipe waits in ConnectNamedPipe before any client comes: Wine turns a client away
    // from a pipe that does not.
    const BOOL connected = ConnectNamedPipe(m_endpoint->pipe, &m_endpoint->io);
    if (connected || GetLastError() == ERROR_PIPE_CONNECTED)
        SetEvent(m_endpoint->io.hEvent);
    else if (GetLastError() != ERROR_IO_PENDING)
        throw std::runtime_error("cannot wait for clients on " + m_address);
}

std::optional<std::string> CServiceListener::Serve(int waitMs) {
    HANDLE pipe = m_endpoint->pipe;
    OVERLAPPED& io = m_endpoint->io;
    DWORD ignored = 0;
    if (!Finish(pipe, io, waitMs, ignored))
        return std::nullopt;
    const std::string line = ReadLine(pipe, io);
    if (m_reply == Reply::Answer) {
        WriteAll(pipe, io, m_answer + '\n');
        // The answer must have reached the client before the pipe is disconnected.
        FlushFileBuffers(pipe);
    }
    if (m_reply == Reply::Silence)
        WaitForHangUp(pipe, m_released);
    if (m_reply == Reply::Chatter)
        ChatUntilHangUp(pipe, io, m_released);
    DisconnectNamedPipe(pipe);
    return line;
}

void CServiceListener::Close() {
    CloseHandle(m_endpoint->io.hEvent);
    CloseHandle(m_endpoint->pipe);
}
