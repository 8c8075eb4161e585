#include "check/MediaReport.h"

#include "base/UserPaths.h"
#include "inspect/MediaInfoLibrary.h"
#include "platform/ToolLocator.h"
#include "widgets/ProcessRunner.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList ToolReportLines(const QString &path)
{
    ProgramRunner runner(LocateTool(ProgramFolder(), u"mediainfo"_s));
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
    return engine == EReportEngine::Library ? LibraryReportLines(path) : ToolReportLines(path);
}

} // namespace velmora
