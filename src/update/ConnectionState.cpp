#include "update/ConnectionState.h"

#include <QFile>
#include <QUrl>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

std::optional<bool> g_override;

bool HasDefaultRoute()
{
    QFile ipv4(u"/proc/net/route"_s);
    if (ipv4.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : ipv4.read(1 << 20).split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 7 && fields[1] == "00000000" && fields[7] == "00000000" && fields[0] != "lo")
                return true;
        }
    }
    QFile ipv6(u"/proc/net/ipv6_route"_s);
    if (ipv6.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : ipv6.read(1 << 20).split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 9 && fields[0] == QByteArray(32, '0') && fields[1] == "00" && fields[9] != "lo")
                return true;
        }
    }
    return false;
}

QString HostWithoutPort(const QString &host)
{
    if (host.startsWith(u'['))
        return host.left(host.indexOf(u']') + 1);
    return host.section(u':', 0, 0);
}

} // namespace

bool IsLoopbackHost(const QString &host)
{
    const QString name = HostWithoutPort(host).toLower();
    return name == u"localhost"_s || name == u"[::1]"_s || name.startsWith(u"127."_s);
}

QString UrlHost(const QString &url)
{
    const QUrl parsed(url);
    if (!parsed.isValid())
        return {};
    QString host = parsed.host();
    if (host.contains(u':'))
        host = u'[' + host + u']';
    if (parsed.port() >= 0)
        host += u':' + QString::number(parsed.port());
    return host;
}

bool IsInternetConnected(const QString &host)
{
    if (g_override)
        return *g_override;
    return IsLoopbackHost(host) || HasDefaultRoute();
}

void SetInternetConnectionOverride(std::optional<bool> connected)
{
    g_override = connected;
}

} // namespace velmora
