#include "platform/DebugChannel.h"
#include "base/TraceDebug.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

// A monitor on 127.0.0.1 with a port picked by the system.
class CLocalListener
{
public:
    CLocalListener()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
        ::listen(m_fd, 1);
        socklen_t length = sizeof address;
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~CLocalListener() { ::close(m_fd); }
    quint16 Port() const { return m_port; }

    QByteArray ReceiveAll(int expected)
    {
        const int peer = ::accept(m_fd, nullptr, nullptr);
        QByteArray bytes;
        char buffer[256];
        while (bytes.size() < expected) {
            pollfd wait{peer, POLLIN, 0};
            if (::poll(&wait, 1, 2000) <= 0)
                break;
            const ssize_t got = ::recv(peer, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            bytes.append(buffer, got);
        }
        ::close(peer);
        return bytes;
    }

private:
    int m_fd = -1;
    quint16 m_port = 0;
};

} // namespace

TEST(DebugChannel, SendsUtf16WithOneZeroUnit)
{
    CLocalListener listener;
    CDebugChannel channel;
    channel.Connect(listener.Port());
    ASSERT_TRUE(channel.IsConnected());
    SetActiveDebugChannel(&channel);
    TraceDebug(u"%s", u"a\r\nb\n"_s);
    SetActiveDebugChannel(nullptr);
    channel.Close();

    const QByteArray bytes = listener.ReceiveAll(10);
    EXPECT_EQ(bytes, QByteArray("a\0\r\0\n\0b\0\0\0", 10));
}

TEST(DebugChannel, NobodyListeningIsQuiet)
{
    quint16 freePort = 0;
    {
        CLocalListener probe; // take a free port, then release it
        freePort = probe.Port();
    }
    CDebugChannel channel;
    channel.Connect(freePort);
    EXPECT_FALSE(channel.IsConnected());
    channel.Send(u"dropped"_s); // must not fail or block
    SetActiveDebugChannel(&channel);
    TraceDebug(u"also dropped %d", 1);
    SetActiveDebugChannel(nullptr);
}
