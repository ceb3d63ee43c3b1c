#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Show modes of a shell request, with the Windows values.
enum class ShellShowMode : int { Normal = 1, Show = 5, Restore = 9 };

// Result codes of a shell request, with the Windows values; 32 or less means failure.
constexpr intptr_t kShellFileNotFound = 2;
constexpr intptr_t kShellNoAssociation = 31;
constexpr intptr_t kShellDone = 42;
// The largest result that still means failure.
constexpr intptr_t kShellLastFailure = 32;

// One request to the system shell: perform a verb ("open", "explore") on a file or folder.
struct ShellRequest {
    void* ownerWindow = nullptr; // native window handle, or none
    std::string verb;
    std::string file;
    std::string parameters;
    std::string directory;
    ShellShowMode showMode = ShellShowMode::Show;
};

// The system shell's open and explore actions.
class CShell {
public:
    virtual ~CShell() = default;
    // Starts the action and returns without waiting for it; a result of 32 or less is a failure.
    virtual intptr_t Execute(const ShellRequest& request) = 0;
};

// The implementation for the platform this program was built for.
std::unique_ptr<CShell> CreateShell();
