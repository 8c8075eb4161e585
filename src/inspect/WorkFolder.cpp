#include "inspect/WorkFolder.h"

#include "platform/PrivateFolder.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

QString TempWorkPath(const QString &name)
{
    const QString folder = PrivateWorkFolder();
    if (folder.isEmpty())
        return {};
    QString path = folder + u'/' + name;
    while (path.contains(u"//"_s))
        path.replace(u"//"_s, u"/"_s);
    return path.size() > kMaxWorkPath ? QString() : path;
}

QString WorkSubfolder(const QString &name)
{
    const QString path = TempWorkPath(name);
    if (path.isEmpty())
        return {};
    const QString folder = PrivateWorkSubfolder(name);
    return folder.size() > kMaxWorkPath ? QString() : folder;
}

} // namespace velmora
