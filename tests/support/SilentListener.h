#pragma once

#include <cstdint>

// A port on 127.0.0.1 that takes connections and never says a word, like a hung server.
class CSilentListener {
public:
    // Listens on a free port; throws when it cannot.
    CSilentListener();
    // Stops listening.
    ~CSilentListener();
    CSilentListener(const CSilentListener&) = delete;
    CSilentListener& operator=(const CSilentListener&) = delete;

    // The port it listens on.
    uint16_t Port() const { return m_port; }

private:
    int m_socket = -1;
    uint16_t m_port = 0;
};
