#include "app/cli/UndoCommand.h"

#include "platform/FileSystem.h"
#include "verify/Quarantine.h"

#include <QDir>
#include <cstdio>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

void Print(std::FILE *stream, const QString &text)
{
    std::fprintf(stream, "%s\n", text.toUtf8().constData());
}

QString Quoted(const QString &path)
{
    return u"'"_s + path + u"'"_s;
}

} // namespace

int RunUndoCommand(const QStringList &arguments)
{
    QStringList paths;
    bool optionsEnded = false;
    for (const QString &argument : arguments) {
        if (!optionsEnded && argument == u"--"_s) {
            optionsEnded = true;
        } else if (!optionsEnded && argument.startsWith(u'-') && argument != u"-"_s) {
            Print(stderr, u"velmora: unknown option "_s + argument + u" (see velmora --help)"_s);
            return 2;
        } else {
            paths.append(argument);
        }
    }
    if (paths.size() != 1) {
        Print(stderr, u"velmora: undo needs one MANIFEST (see velmora --help)"_s);
        return 2;
    }
    const QString manifest = QDir::isAbsolutePath(paths.first()) ? paths.first() : QDir::currentPath() + u'/' + paths.first();
    const SUndoRun run = UndoQuarantine(manifest, LocalFileSystem());
    if (!run.strError.isEmpty()) {
        Print(stderr, u"velmora: "_s + Quoted(paths.first()) + u": "_s + run.strError);
        return 2;
    }
    for (const SQuarantineMove &move : run.restored)
        Print(stdout, u"put back "_s + Quoted(move.strFrom));
    for (const SQuarantineMove &move : run.alreadyBack)
        Print(stdout, u"already back "_s + Quoted(move.strFrom));
    for (const SQuarantineMove &move : run.refused)
        Print(stderr, u"velmora: not put back "_s + Quoted(move.strFrom) + u" (now "_s + Quoted(move.strTo) + u"): "_s + move.strReason);
    Print(stdout, u"%1 put back, %2 already back, %3 not put back"_s.arg(run.restored.size()).arg(run.alreadyBack.size()).arg(run.refused.size()));
    return run.refused.isEmpty() ? 0 : 1;
}

} // namespace velmora
