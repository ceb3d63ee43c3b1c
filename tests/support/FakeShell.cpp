#include "FakeShell.h"

intptr_t CFakeShell::Execute(const ShellRequest& request) {
    m_requests.push_back(request);
    return m_nResult;
}
