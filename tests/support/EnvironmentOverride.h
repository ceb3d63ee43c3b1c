#pragma once

#include <optional>
#include <string>

// Sets an environment variable for the lifetime of the object and restores its previous state.
class CEnvironmentOverride {
public:
    // Sets name to value until the object goes.
    CEnvironmentOverride(std::string name, const std::string& value);
    // Restores the previous value, or removes the variable when it had none.
    ~CEnvironmentOverride();
    CEnvironmentOverride(const CEnvironmentOverride&) = delete;
    CEnvironmentOverride& operator=(const CEnvironmentOverride&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};
