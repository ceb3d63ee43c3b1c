#include "EnvironmentOverride.h"

#include <cstdlib>

namespace {

// The C runtime's own variables, which getenv reads, on either system.
void SetVariable(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    // An empty value removes the variable.
    _putenv_s(name.c_str(), value ? value->c_str() : "");
#else
    if (value)
        setenv(name.c_str(), value->c_str(), 1);
    else
        unsetenv(name.c_str());
#endif
}

} // namespace

CEnvironmentOverride::CEnvironmentOverride(std::string name, const std::string& value)
    : m_name(std::move(name)) {
    if (const char* previous = std::getenv(m_name.c_str()))
        m_previous = previous;
    SetVariable(m_name, value);
}

CEnvironmentOverride::~CEnvironmentOverride() {
    SetVariable(m_name, m_previous);
}
