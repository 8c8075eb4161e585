#include "platform/DebugChannel.h"

#include <QByteArray>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velmora {

namespace {
// A monitor on the loopback answers at once; a connection still pending after this is
// given up, so a missing monitor never slows the program down.
constexpr int kConnectWaitMs = 200;
}

quint16 CDebugChannel::ConfiguredPort()
{
    const char *value = std::getenv("VELMORA_DEBUG_PORT");
    if (!value)
        return kDefaultPort;
    char *end = nullptr;
    const long port = std::strtol(value, &end, 10);
    if (end == value || *end != '\0' || port <= 0 || port > 65535)
        return kDefaultPort;
    return quint16(port);
}

CDebugChannel::~CDebugChannel()
{
    Close();
}

void CDebugChannel::Connect(quint16 port)
{
    Close();
    m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_socket < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
        m_connected = true;
        return;
    }
    if (errno != EINPROGRESS)
        return;
    pollfd waiter{m_socket, POLLOUT, 0};
    if (::poll(&waiter, 1, kConnectWaitMs) != 1)
        return;
    int error = 0;
    socklen_t length = sizeof error;
    m_connected = ::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

void CDebugChannel::Send(const QString &text)
{
    if (!m_connected)
        return;
    QByteArray bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (const QChar unit : text) {
        bytes.append(char(unit.unicode() & 0xFF));
        bytes.append(char(unit.unicode() >> 8));
    }
    bytes.append(2, '\0');
    // Never block on a monitor that stopped reading, and never die of SIGPIPE.
    [[maybe_unused]] const ssize_t sent =
        ::send(m_socket, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
}

void CDebugChannel::Close()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
    m_connected = false;
}

} // namespace velmora
