#pragma once

#include <QString>

namespace velmora {

// Client side of the developer trace channel: a TCP connection to a monitor on the local
// machine. One connection attempt is made; when nothing listens, every send fails quietly.
class CDebugChannel
{
public:
    static constexpr quint16 kDefaultPort = 2000;
    // VELMORA_DEBUG_PORT moves the channel, so tests can listen without clashing.
    static quint16 ConfiguredPort();

    CDebugChannel() = default;
    ~CDebugChannel();
    CDebugChannel(const CDebugChannel &) = delete;
    CDebugChannel &operator=(const CDebugChannel &) = delete;

    void Connect(quint16 port);
    bool IsConnected() const { return m_connected; }
    // Sends the UTF-16 LE units followed by one zero unit; the result is not reported.
    void Send(const QString &text);
    void Close();

private:
    int m_socket = -1;
    bool m_connected = false;
};

} // namespace velmora
