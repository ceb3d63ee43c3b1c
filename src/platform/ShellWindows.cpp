#include "platform/Shell.h"

#include <windows.h>

#include <shellapi.h>

namespace {

// The Windows shell itself; its result codes are the ones the program expects.
class CWindowsShell final : public CShell {
public:
    intptr_t Execute(const ShellRequest& request) override {
        const HINSTANCE result =
            ShellExecuteA(static_cast<HWND>(request.ownerWindow), OptionalText(request.verb),
                          OptionalText(request.file), request.parameters.c_str(),
                          OptionalText(request.directory), static_cast<int>(request.showMode));
        return reinterpret_cast<intptr_t>(result);
    }

private:
    // An empty text is passed as no text at all, as the callers' null pointers were.
    static const char* OptionalText(const std::string& text) {
        return text.empty() ? nullptr : text.c_str();
    }
};

} // namespace

std::unique_ptr<CShell> CreateShell() {
    return std::make_unique<CWindowsShell>();
}
