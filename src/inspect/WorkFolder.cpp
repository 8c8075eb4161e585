#include "inspect/WorkFolder.h"

#include "platform/SystemFolders.h"

#include <QDir>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

QString TempWorkPath(const QString &name)
{
    const QString folder = SystemTempFolder() + u"{1B163BAA-6946-4e0f-AF36-DC66D906F2EA}/"_s;
    QDir().mkpath(folder);
    QString path = folder + name;
    while (path.contains(u"//"_s))
        path.replace(u"//"_s, u"/"_s);
    return path.size() > kMaxWorkPath ? QString() : path;
}

} // namespace velmora
