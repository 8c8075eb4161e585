#include "platform/ToolLocator.h"

#include "platform/NativeName.h"

#include <QStandardPaths>
#include <unistd.h>

namespace velmora {

QString LocateTool(const QString &programFolder, const QString &name)
{
    const QString beside = programFolder + u'/' + name;
    if (::access(EncodeNativeName(beside).constData(), X_OK) == 0)
        return beside;
    const QString onPath = QStandardPaths::findExecutable(name);
    return onPath.isEmpty() ? beside : onPath;
}

} // namespace velmora
