#include "ChmArchive.h"

#include <chm_lib.h>

CChmArchive::CChmArchive(const std::string& path) : m_file(chm_open(path.c_str())) {
}

CChmArchive::~CChmArchive() {
    if (m_file != nullptr)
        chm_close(m_file);
}

std::vector<std::string> CChmArchive::FilePaths() const {
    std::vector<std::string> paths;
    if (m_file == nullptr)
        return paths;
    const auto collect = [](chmFile*, chmUnitInfo* unit, void* context) -> int {
        const std::string path = unit->path;
        if (path.size() > 1 && path[0] == '/' && path.back() != '/')
            static_cast<std::vector<std::string>*>(context)->push_back(path.substr(1));
        return CHM_ENUMERATOR_CONTINUE;
    };
    chm_enumerate(m_file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect, &paths);
    return paths;
}

std::optional<std::string> CChmArchive::Read(const std::string& path) const {
    chmUnitInfo unit{};
    if (m_file == nullptr ||
        chm_resolve_object(m_file, ("/" + path).c_str(), &unit) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    std::string content(static_cast<size_t>(unit.length), '\0');
    if (unit.length > 0) {
        const LONGINT64 read =
            chm_retrieve_object(m_file, &unit, reinterpret_cast<unsigned char*>(content.data()), 0,
                                static_cast<LONGINT64>(unit.length));
        if (read != static_cast<LONGINT64>(unit.length))
            return std::nullopt;
    }
    return content;
}
