#include "base/UserManualPath.h"

#include "base/UserPaths.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

QString LocalUserManual()
{
    const QDir program(ProgramFolder());
    const QString installed = u"../share/doc/velmora/"_s;
    const QStringList candidates{u"userManual.pdf"_s, u"userManual.html"_s, installed + u"userManual.pdf"_s,
                                 installed + u"userManual.html"_s};
    for (const QString &candidate : candidates) {
        const QFileInfo file(program.filePath(candidate));
        if (file.isFile())
            return QDir::cleanPath(file.absoluteFilePath());
    }
    return program.filePath(candidates.first());
}

} // namespace velmora
