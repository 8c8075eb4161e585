#pragma once

// A web server (or an FTP server) on 127.0.0.1 at a port the system picks, serving the files
// of a temporary folder; stopped when the object goes.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velmora::test {

// A port on 127.0.0.1 that nothing listens on (taken and given back at once).
inline int ClosedLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

class CLoopbackServer
{
public:
    enum EProtocol { Http, Ftp };

    explicit CLoopbackServer(EProtocol protocol = Http) : m_protocol(protocol)
    {
        m_process.setProgram(QStringLiteral("python3"));
        m_process.setArguments({protocol == Ftp ? QStringLiteral(VELMORA_TEST_SOURCE_DIR "/update/loopback_ftp_server.py")
                                                : QStringLiteral(VELMORA_TEST_SOURCE_DIR "/update/loopback_server.py"),
                                m_root.path()});
        m_process.start();
        if (m_process.waitForStarted(10000) && m_process.waitForReadyRead(10000))
            m_nPort = m_process.readLine().trimmed().toInt();
        EXPECT_GT(m_nPort, 0) << "the loopback server did not start";
    }
    ~CLoopbackServer()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    CLoopbackServer(const CLoopbackServer &) = delete;
    CLoopbackServer &operator=(const CLoopbackServer &) = delete;

    QString Host() const { return QStringLiteral("127.0.0.1:%1").arg(m_nPort); }
    QString Url(const QString &path = {}) const
    {
        return (m_protocol == Ftp ? QStringLiteral("ftp://") : QStringLiteral("http://")) + Host() + u'/' + path;
    }
    // A path below the served folder.
    QString Path(const QString &name) const { return QDir(m_root.path()).filePath(name); }
    // The channel folder the program fetches from.
    static QString ChannelPath(const QString &name)
    {
        return QStringLiteral("dododevodiviz/velmora/x86/update/") + name;
    }

private:
    EProtocol m_protocol;
    QTemporaryDir m_root;
    QProcess m_process;
    int m_nPort = 0;
};

} // namespace velmora::test
