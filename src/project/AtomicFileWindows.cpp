#include "project/AtomicFile.h"

#include <windows.h>

#include <algorithm>

namespace {

// The system's text for an error code, without its line end.
std::string SystemText(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length != 0 ? std::string(buffer, length) : "error " + std::to_string(code);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

std::string SystemError(const std::string& action, const std::string& what, DWORD code) {
    return "cannot " + action + " '" + what + "': " + SystemText(code);
}

std::string FolderOf(const std::string& path) {
    const size_t separator = path.find_last_of("\\/:");
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator + 1);
}

// Writes everything; GetLastError tells why when it fails.
bool WriteAll(HANDLE file, const std::string& content) {
    size_t written = 0;
    while (written < content.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<size_t>(content.size() - written, 1u << 30));
        DWORD count = 0;
        if (!WriteFile(file, content.data() + written, chunk, &count, nullptr))
            return false;
        if (count == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        written += count;
    }
    return true;
}

// Writes, flushes to the disk and closes the temporary; 0 or the error code.
DWORD FillTemporary(const char* temporary, const std::string& content) {
    const HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    const bool filled = WriteAll(file, content) && FlushFileBuffers(file);
    const DWORD fillError = filled ? 0 : GetLastError();
    const DWORD closeError = CloseHandle(file) ? 0 : GetLastError();
    return fillError != 0 ? fillError : closeError;
}

// A read-only file must be refused as writing in place would be; the rename alone does not
// refuse it everywhere.
bool IsReadOnlyFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

namespace AtomicFile {

bool Replace(const std::string& path, const std::string& content, std::string& error) {
    if (IsReadOnlyFile(path)) {
        error = SystemError("write", path, ERROR_ACCESS_DENIED);
        return false;
    }
    const std::string folder = FolderOf(path);
    char temporary[MAX_PATH];
    if (GetTempFileNameA(folder.c_str(), "tvp", 0, temporary) == 0) {
        error = SystemError("create a temporary file in", folder, GetLastError());
        return false;
    }
    if (const DWORD failure = FillTemporary(temporary, content)) {
        DeleteFileA(temporary);
        error = SystemError("write", path, failure);
        return false;
    }
    if (!MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD failure = GetLastError();
        DeleteFileA(temporary);
        error = SystemError("replace", path, failure);
        return false;
    }
    return true;
}

} // namespace AtomicFile
