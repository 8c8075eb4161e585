#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

// Runs an outside tool hidden (no input, output and errors into one pipe) and collects
// what it writes, line by line.
class ProgramRunner
{
public:
    explicit ProgramRunner(const QString &program) : m_strProgram(program) {}

    QString m_strProgram;
    QString m_strCommandLine;
    QString m_strOutput;
    QStringList m_lines;
    // An open file the tool gets as its descriptor 3 ("/dev/fd/3"); -1 for none.
    int m_nPassedFd = -1;
};

// Runs runner's program with the argument text (blank-separated, double quotes group),
// waits until it closes its output, and splits the output into runner.m_lines. The tools
// run in a UTF-8 locale and their output is read as UTF-8; bytes that are not (a file name
// from another system) come back as the escapes of NativeName.h, which name the same bytes. True when the run gave at least
// one line; false for a missing program, a failed start, a run that exceeded the time limit
// or was stopped by the user, or output without any line end.
bool RunAndCollect(ProgramRunner &runner, const QString &arguments);
// The same with the arguments already separated, so that any file name passes unchanged.
bool RunAndCollect(ProgramRunner &runner, const QStringList &arguments);

// Splits collected output the way the runner does: at each line feed, or at a carriage
// return where no line feed follows; a carriage return before a line feed stays, and text
// after the last line end is dropped.
QStringList SplitRunnerOutput(const QString &output);
// Splits an argument text into arguments: blanks separate, double quotes group.
QStringList SplitArgumentText(const QString &arguments);

// A tool that was ended at its time limit: which tool, after how long, and (filled in by
// whoever ran it) the file it was run for.
struct SToolTimeOut
{
    QString strTool; // the program's file name
    int nSeconds = 0;
    QString strFile;
};
// The time-outs of the runs made on this thread since the last call, oldest first. Work done
// ahead on worker threads collects them with its results, so that they are logged in order.
QList<SToolTimeOut> TakeToolTimeOuts();

// Seconds a run may take before its tool is stopped ("Runner/TimeLimitSeconds", 60).
int RunTimeLimitSeconds();
void SetRunTimeLimitSeconds(int seconds);

} // namespace velmora
