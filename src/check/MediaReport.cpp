#include "check/MediaReport.h"

#include "base/UserPaths.h"
#include "inspect/MediaInfoLibrary.h"
#include "platform/FileStatus.h"
#include "platform/NativeName.h"
#include "platform/OpenFile.h"
#include "platform/ToolLocator.h"
#include "widgets/ProcessRunner.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList ToolReportLines(const QString &path)
{
    ProgramRunner runner(LocateTool(ProgramFolder(), u"mediainfo"_s));
    // The tool reads its argument as UTF-8 text: a name that is not is handed over as the
    // open file instead (only the "Complete name" line, which nothing reads, shows that).
    if (HasUndecodableBytes(path)) {
        const std::unique_ptr<QFile> file = OpenFileForRead(path);
        if (!file)
            return {};
        runner.m_nPassedFd = file->handle();
        RunAndCollect(runner, QStringList{u"/dev/fd/3"_s});
        return runner.m_lines;
    }
    // The path goes as one argument, so names with blanks or quotes pass unchanged.
    RunAndCollect(runner, QStringList{path});
    return runner.m_lines;
}

// The tool prints the library's report followed by one more line end; split the same way,
// the library's report gives the lines the tool would have printed.
QStringList LibraryReportLines(const QString &path)
{
    CMediaInfo info;
    if (!info.Create() || !info.Open(path))
        return {};
    QString report = info.Report();
    info.Release();
    report.replace(u"\r\n"_s, u"\n"_s);
    return SplitRunnerOutput(report + u'\n');
}

} // namespace

QStringList MediaReportLines(EReportEngine engine, const QString &path)
{
    // Both forms open the file by name; a pipe or device would never answer.
    if (!QueryRegularFile(path))
        return {};
    return engine == EReportEngine::Library ? LibraryReportLines(path) : ToolReportLines(path);
}

} // namespace velmora
