#include "platform/Zel4Library.h"

CZel4Library::CZel4Library(const std::string& folder) {
    if (!m_library.Load(folder, "zel4"))
        return;
    m_tarvon = reinterpret_cast<TarvonFn>(m_library.Entry(1, "Tarvon"));
    m_tarvonWait = reinterpret_cast<TarvonWaitFn>(m_library.Entry(2, "TarvonWait"));
}

void CZel4Library::Tarvon(const std::string& url) {
    if (m_tarvon != nullptr)
        m_tarvon(url.c_str());
}

void CZel4Library::TarvonWait(const std::string& url, int32_t timeoutMs) {
    if (m_tarvonWait != nullptr)
        m_tarvonWait(url.c_str(), timeoutMs);
}
