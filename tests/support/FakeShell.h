#pragma once

#include "platform/Shell.h"

#include <vector>

// A shell that records every request and answers with a set result.
class CFakeShell final : public CShell {
public:
    // Records request and returns Result().
    intptr_t Execute(const ShellRequest& request) override;

    // The requests received, in order.
    const std::vector<ShellRequest>& Requests() const { return m_requests; }
    // The result of the following requests; kShellDone unless set.
    void SetResult(intptr_t result) { m_nResult = result; }

private:
    std::vector<ShellRequest> m_requests;
    intptr_t m_nResult = kShellDone;
};
