#include "app/cli/CheckCommand.h"

#include "app/RunLogs.h"
#include "app/UserPaths.h"
#include "app/cli/CheckOptions.h"
#include "app/cli/RowWriter.h"
#include "app/cli/TraceToStderr.h"
#include "check/CheckTuning.h"
#include "check/DirItemList.h"
#include "check/ListSelectDirectory.h"
#include "platform/CodePage.h"
#include "platform/FileStatus.h"

#include <QDir>
#include <cstdio>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

void PrintError(const QString &text)
{
    std::fprintf(stderr, "velmora: %s\n", text.toUtf8().constData());
}

bool AnyRowNeedsAttention(const CDirItemList &list)
{
    for (const _ITEMINFO &item : list.m_items) {
        if (item.MarkClass() != 0 || !item.szResult.IsEmpty())
            return true;
    }
    return false;
}

// The folder as an absolute path, so every row names a full path as the window's would.
QString AbsoluteFolder(const QString &folder)
{
    return QDir::isAbsolutePath(folder) ? folder : QDir::currentPath() + u'/' + folder;
}

} // namespace

int RunCheckCommand(const QStringList &arguments)
{
    QString error;
    const auto options = ParseCheckOptions(arguments, &error);
    if (!options) {
        PrintError(error + u" (see velmora --help)"_s);
        return 2;
    }
    const QString folder = AbsoluteFolder(options->strFolder);
    SFileStatus status;
    if (!QueryFileStatus(folder, &status) || !status.bFolder) {
        PrintError(u"no such folder: "_s + options->strFolder);
        return 2;
    }
    if (options->nAnsiCodePage != 0)
        SetAnsiCodePage(options->nAnsiCodePage);
    if (!options->strDataDir.isEmpty())
        SetUserDataFolder(AbsoluteFolder(options->strDataDir));

    CRunLogs logs;
    CTraceToStderr trace;
    if (options->bTrace)
        logs.SetTraceSink(&trace);
    logs.OpenRunLogs();
    if (!logs.IsDirectoryLogOpen() || !logs.IsErrorLogOpen())
        PrintError(u"cannot write the run logs in "_s + UserDataPath());
    SetActiveRunLogs(&logs);

    CDirItemList list;
    list.m_nTopLevel = options->bSongs ? 0 : 1;
    list.m_nIncludeSubfolders = options->bSubfolders ? 1 : 0;
    list.m_tuning = LoadCheckTuning();
    if (!options->strEngine.isEmpty()) {
        bool ok = false;
        list.m_tuning.engine = EngineNamed(options->strEngine, &ok);
    }
    if (options->nJobs > 0)
        list.m_tuning.nJobs = options->nJobs;
    ListSelectDirectory(list, folder);
    SetActiveRunLogs(nullptr);

    const QByteArray rows = WriteRows(list, options->format);
    std::fwrite(rows.constData(), 1, size_t(rows.size()), stdout);
    std::fflush(stdout);
    return AnyRowNeedsAttention(list) ? 1 : 0;
}

} // namespace velmora
