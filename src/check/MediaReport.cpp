#include "check/MediaReport.h"

#include "base/TraceDebug.h"
#include "base/UserPaths.h"
#include "inspect/KnownLibraryAnswer.h"
#include "inspect/MediaInfoLibrary.h"
#include "platform/FileStatus.h"
#include "platform/NativeName.h"
#include "platform/OpenFile.h"
#include "platform/StopRequest.h"
#include "platform/ToolLocator.h"
#include "widgets/ProcessRunner.h"

#include <QHash>

#include <mutex>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QString MediaTool()
{
    return LocateTool(ProgramFolder(), u"mediainfo"_s);
}

QStringList ToolReportLines(const QString &path)
{
    ProgramRunner runner(MediaTool());
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
    QString report;
    if (std::optional<QString> known = KnownMediaLibraryReport(path)) {
        report = std::move(*known);
    } else {
        CMediaInfo info;
        if (!info.Create() || !info.Open(path))
            return {};
        report = info.Report();
        info.Release();
    }
    report.replace(u"\r\n"_s, u"\n"_s);
    return SplitRunnerOutput(report + u'\n');
}

// The tool names the library it is built on in its version text, as the library names
// itself ("MediaInfoLib - v23.04").
bool LibraryGivesToolReports(const QString &tool)
{
    CMediaInfo info;
    if (!info.Create())
        return false;
    const QString library = info.Option(u"Info_Version"_s).trimmed();
    ProgramRunner runner(tool);
    if (!RunAndCollect(runner, QStringList{u"--Version"_s})) {
        TraceDebug(u"report engine: library %s, no tool at %s\n", library, tool);
        return true;
    }
    bool same = false;
    for (const QString &line : std::as_const(runner.m_lines))
        same = same || (!library.isEmpty() && line.trimmed() == library);
    TraceDebug(u"report engine: library %s, tool %s says %s\n", library, tool, runner.m_lines.join(u' '));
    return same;
}

} // namespace

QStringList MediaReportLines(EReportEngine engine, const QString &path)
{
    // Both forms open the file by name; a pipe or device would never answer.
    if (!QueryRegularFile(path))
        return {};
    return engine == EReportEngine::Library ? LibraryReportLines(path) : ToolReportLines(path);
}

EReportEngine ChooseReportEngine(EReportEngine engine)
{
    if (engine != EReportEngine::Fastest)
        return engine;
    static std::mutex mutex;
    static QHash<QString, bool> answers;
    const QString tool = MediaTool();
    const std::lock_guard<std::mutex> lock(mutex);
    if (const auto answer = answers.constFind(tool); answer != answers.cend())
        return *answer ? EReportEngine::Library : EReportEngine::Tool;
    const bool same = LibraryGivesToolReports(tool);
    // A tool stopped while it answered said nothing; it is asked again next time.
    if (!CStopRequest::IsRaised())
        answers.insert(tool, same);
    return same ? EReportEngine::Library : EReportEngine::Tool;
}

} // namespace velmora
