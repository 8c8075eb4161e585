#include "base/UserPaths.h"

#include "platform/SystemFolders.h"

#include <QDir>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QString g_userDataFolder;
QString g_programFolder;

QString DefaultUserDataFolder()
{
    const QString documents = DocumentsFolder();
    if (documents.isEmpty())
        return {};
    return documents + u"/Velmora"_s;
}

QString JoinOnce(QString folder, QString name)
{
    if (name.isEmpty())
        return folder;
    while (name.startsWith(u'/'))
        name.remove(0, 1);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder + name;
}

} // namespace

QString UserDataPath(const QString &name)
{
    if (g_userDataFolder.isEmpty()) {
        g_userDataFolder = DefaultUserDataFolder();
        if (!g_userDataFolder.isEmpty())
            QDir().mkpath(g_userDataFolder);
    }
    return JoinOnce(g_userDataFolder, name);
}

void SetUserDataFolder(const QString &folder)
{
    g_userDataFolder = folder;
    if (!folder.isEmpty())
        QDir().mkpath(folder);
}

QString ProgramFolder()
{
    if (g_programFolder.isEmpty())
        g_programFolder = ExecutableFolder();
    return g_programFolder;
}

void SetProgramFolder(const QString &folder)
{
    g_programFolder = folder;
}

} // namespace velmora
