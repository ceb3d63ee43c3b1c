#include "ServiceListener.h"

CServiceListener::CServiceListener(Reply reply, std::string answer, int waitMs)
    : m_reply(reply), m_answer(std::move(answer)), m_released(m_release.get_future().share()) {
    Listen();
    m_request = std::async(std::launch::async, [this, waitMs] { return Serve(waitMs); });
}

CServiceListener::~CServiceListener() {
    m_release.set_value();
    if (m_request.valid())
        m_request.wait();
    Close();
}

std::optional<std::string> CServiceListener::Request() {
    return m_request.get();
}
