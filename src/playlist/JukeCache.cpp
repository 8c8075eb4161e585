#include "playlist/JukeCache.h"

#include "base/Format.h"
#include "inspect/WorkFolder.h"
#include "platform/Settings.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QString CountKey(const QString &cacheName)
{
    return u"Juke/"_s + cacheName;
}

} // namespace

QString JukeCacheName(quint32 crc)
{
    return Format(u"%08x.txt", crc);
}

QString JukeCacheFolder()
{
    return WorkSubfolder(u"LoadJuke"_s);
}

int StoredJukeCount(const QString &cacheName)
{
    bool ok = false;
    const int count = OpenSettings()->value(CountKey(cacheName)).toInt(&ok);
    return ok && count > 0 ? count : 0;
}

void StoreJukeCount(const QString &cacheName, int count)
{
    OpenSettings()->setValue(CountKey(cacheName), count);
}

void ForgetJukeCount(const QString &cacheName)
{
    OpenSettings()->remove(CountKey(cacheName));
}

} // namespace velmora
