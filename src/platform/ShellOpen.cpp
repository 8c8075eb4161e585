#include "platform/ShellOpen.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

bool StartDetached(const QString &program, const QStringList &arguments)
{
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}

QString DesktopOpener()
{
    return QStandardPaths::findExecutable(u"xdg-open"_s);
}

bool IsAddress(const QString &target)
{
    const QUrl url(target);
    return url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1 && !url.isLocalFile();
}

} // namespace

bool ShellOpen(const QString &target)
{
    if (target.isEmpty() || (!IsAddress(target) && !QFileInfo::exists(target)))
        return false;
    return StartDetached(DesktopOpener(), {target});
}

bool OpenInTextViewer(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
    if (StartDetached(DesktopOpener(), {path}))
        return true;
    for (const char *variable : {"VISUAL", "EDITOR"}) {
        const QString editor = qEnvironmentVariable(variable);
        if (!editor.isEmpty() && StartDetached(QStandardPaths::findExecutable(editor), {path}))
            return true;
    }
    return false;
}

} // namespace velmora
