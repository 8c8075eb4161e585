// velmora-ping HOST[:PORT] [-n:COUNT] [-w:MILLISECONDS]: tries a TCP connection to the
// host's HTTP port (80 unless given) and prints "<address> replied in <n> ms" for the first
// attempt that connects. Exit status 0 on a reply, 1 without one, 2 for a usage error.
#include <QByteArray>
#include <QElapsedTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct SPingRequest
{
    QByteArray host;
    QByteArray port = "80";
    int nCount = 1;
    int nWaitMs = 3000;
};

bool SplitHostPort(const QByteArray &text, SPingRequest &request)
{
    if (text.startsWith('[')) {
        const qsizetype close = text.indexOf(']');
        if (close < 0)
            return false;
        request.host = text.mid(1, close - 1);
        if (text.size() > close + 1) {
            if (text.at(close + 1) != ':')
                return false;
            request.port = text.mid(close + 2);
        }
    } else {
        const qsizetype colon = text.indexOf(':');
        request.host = colon < 0 ? text : text.left(colon);
        if (colon >= 0)
            request.port = text.mid(colon + 1);
    }
    bool ok = false;
    const int port = request.port.toInt(&ok);
    return !request.host.isEmpty() && ok && port > 0 && port < 65536;
}

bool ParseArguments(int argc, char **argv, SPingRequest &request)
{
    if (argc < 2 || !SplitHostPort(QByteArray(argv[1]), request))
        return false;
    for (int i = 2; i < argc; ++i) {
        const QByteArray option(argv[i]);
        bool ok = false;
        if (option.startsWith("-n:"))
            request.nCount = option.mid(3).toInt(&ok);
        else if (option.startsWith("-w:"))
            request.nWaitMs = option.mid(3).toInt(&ok);
        if (!ok)
            return false;
    }
    return request.nCount >= 1 && request.nCount <= 100 && request.nWaitMs >= 1 && request.nWaitMs <= 60000;
}

// True when a connection to the address opens within waitMs.
bool ConnectsWithin(const addrinfo &address, int waitMs)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
    if (fd < 0)
        return false;
    bool connected = ::connect(fd, address.ai_addr, address.ai_addrlen) == 0;
    if (!connected && errno == EINPROGRESS) {
        pollfd wait{fd, POLLOUT, 0};
        int error = 0;
        socklen_t length = sizeof(error);
        connected = ::poll(&wait, 1, waitMs) == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0
            && error == 0;
    }
    ::close(fd);
    return connected;
}

QByteArray AddressText(const addrinfo &address)
{
    char text[NI_MAXHOST] = {};
    if (::getnameinfo(address.ai_addr, address.ai_addrlen, text, sizeof(text), nullptr, 0, NI_NUMERICHOST) != 0)
        return "?";
    return QByteArray(text);
}

} // namespace

int main(int argc, char **argv)
{
    SPingRequest request;
    if (!ParseArguments(argc, argv, request)) {
        std::fputs("Usage: velmora-ping HOST[:PORT] [-n:COUNT] [-w:MILLISECONDS]\n", stderr);
        return 2;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(request.host.constData(), request.port.constData(), &hints, &found) != 0 || !found) {
        std::printf("Ping request could not find host %s.\n", request.host.constData());
        return 1;
    }
    int status = 1;
    for (int attempt = 0; attempt < request.nCount && status != 0; ++attempt) {
        for (const addrinfo *address = found; address; address = address->ai_next) {
            QElapsedTimer timer;
            timer.start();
            if (ConnectsWithin(*address, request.nWaitMs)) {
                std::printf("%s replied in %lld ms\n", AddressText(*address).constData(), timer.elapsed());
                status = 0;
                break;
            }
        }
        if (status != 0)
            std::puts("Request timed out.");
    }
    ::freeaddrinfo(found);
    return status;
}
