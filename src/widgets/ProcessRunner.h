#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// Runs an outside tool hidden and collects what it writes to its output, line by line.
class CProcessRunner
{
public:
    explicit CProcessRunner(const QString &program) : m_strProgram(program) {}

    QString m_strProgram;
    QStringList m_output;
};

// Runs runner's program with the argument text, waits for it, and leaves its output lines
// in runner.m_output. True when the run produced at least one line.
bool RunAndCollect(CProcessRunner &runner, const QString &arguments);

} // namespace velmora
