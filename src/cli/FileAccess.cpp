#include "cli/FileAccess.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string TooLarge(const std::string& what) {
    return what + " is larger than 256 MiB; refusing to read it";
}

std::string SystemError(const std::string& action, const std::string& what, int code) {
    return "cannot " + action + " " + what + ": " + std::strerror(code);
}

} // namespace

bool ReadStream(std::FILE* stream, const std::string& what, std::string& content,
                std::string& error) {
    content.clear();
    std::vector<char> chunk(1 << 16);
    for (;;) {
        const size_t count = std::fread(chunk.data(), 1, chunk.size(), stream);
        content.append(chunk.data(), count);
        if (content.size() > kMaxInputBytes) {
            error = TooLarge(what);
            return false;
        }
        if (count < chunk.size()) {
            break;
        }
    }
    if (std::ferror(stream)) {
        error = SystemError("read", what, errno);
        return false;
    }
    return true;
}

std::string DescribeInput(const std::string& path) {
    return path == "-" ? "standard input" : "'" + path + "'";
}

bool ReadInput(const std::string& path, std::string& content, std::string& error) {
    if (path == "-") {
        return ReadStream(stdin, DescribeInput(path), content, error);
    }
    std::error_code code;
    if (fs::is_regular_file(path, code) && fs::file_size(path, code) > kMaxInputBytes) {
        error = TooLarge(DescribeInput(path));
        return false;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        error = SystemError("open", DescribeInput(path), errno);
        return false;
    }
    return ReadStream(file.get(), DescribeInput(path), content, error);
}
