#pragma once

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
};

// Runs runner's program with the argument text (blank-separated, double quotes group),
// waits until it closes its output, and splits the output into runner.m_lines. True when
// the run gave at least one line; false for a missing program, a failed start, a run that
// exceeded the time limit, or output without any line end.
bool RunAndCollect(ProgramRunner &runner, const QString &arguments);
// The same with the arguments already separated, so that any file name passes unchanged.
bool RunAndCollect(ProgramRunner &runner, const QStringList &arguments);

// Splits collected output the way the runner does: at each line feed, or at a carriage
// return where no line feed follows; a carriage return before a line feed stays, and text
// after the last line end is dropped.
QStringList SplitRunnerOutput(const QString &output);
// Splits an argument text into arguments: blanks separate, double quotes group.
QStringList SplitArgumentText(const QString &arguments);

// Seconds a run may take before its tool is stopped ("Runner/TimeLimitSeconds", 60).
int RunTimeLimitSeconds();
void SetRunTimeLimitSeconds(int seconds);

} // namespace velmora
