#include "widgets/ProcessRunner.h"

#include "platform/ChildProcess.h"
#include "platform/NativeName.h"
#include "platform/FileStatus.h"
#include "platform/Settings.h"

#include <QSettings>

#include <optional>
#include <utility>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype kReadBlock = 1024;
// Output beyond this is read and dropped: a tool gone wild must not exhaust memory.
constexpr qsizetype kMaxOutputBytes = 16 * 1024 * 1024;

std::optional<int> &TimeLimitOverride()
{
    static std::optional<int> seconds;
    return seconds;
}

// A block is text up to its first zero byte.
void AppendBlock(QByteArray &output, const QByteArray &block)
{
    const qsizetype zero = block.indexOf('\0');
    output.append(zero < 0 ? block : block.left(zero));
}

QList<SToolTimeOut> &ThreadTimeOuts()
{
    thread_local QList<SToolTimeOut> timeOuts;
    return timeOuts;
}

} // namespace

QList<SToolTimeOut> TakeToolTimeOuts()
{
    return std::exchange(ThreadTimeOuts(), {});
}

int RunTimeLimitSeconds()
{
    if (TimeLimitOverride())
        return *TimeLimitOverride();
    const int stored = OpenSettings()->value(u"Runner/TimeLimitSeconds"_s, 60).toInt();
    return stored > 0 ? stored : 60;
}

void SetRunTimeLimitSeconds(int seconds)
{
    TimeLimitOverride() = seconds > 0 ? std::optional<int>(seconds) : std::nullopt;
}

QStringList SplitRunnerOutput(const QString &output)
{
    QStringList lines;
    qsizetype position = 0;
    while (position < output.size()) {
        const qsizetype lineFeed = output.indexOf(u'\n', position);
        const qsizetype end = lineFeed >= 0 ? lineFeed : output.indexOf(u'\r', position);
        if (end < 0)
            break;
        lines.append(output.mid(position, end - position));
        position = end + 1;
    }
    return lines;
}

QStringList SplitArgumentText(const QString &arguments)
{
    QStringList parts;
    QString current;
    bool quoted = false;
    bool inArgument = false;
    for (const QChar ch : arguments) {
        if (ch == u'"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((ch == u' ' || ch == u'\t') && !quoted) {
            if (inArgument)
                parts.append(current);
            current.clear();
            inArgument = false;
        } else {
            current.append(ch);
            inArgument = true;
        }
    }
    if (inArgument)
        parts.append(current);
    return parts;
}

bool RunAndCollect(ProgramRunner &runner, const QString &arguments)
{
    return RunAndCollect(runner, SplitArgumentText(arguments));
}

bool RunAndCollect(ProgramRunner &runner, const QStringList &arguments)
{
    SFileStatus status;
    if (!QueryFileStatus(runner.m_strProgram, &status) || status.bFolder)
        return false;
    // Nothing here is shared between runs, so runs asked for by several worker threads
    // (checks with more than one job) can go side by side; a plain check runs one at a time.
    runner.m_strOutput.clear();
    runner.m_lines.clear();
    runner.m_strCommandLine = runner.m_strProgram + u' ' + arguments.join(u' ');
    // Decoded once at the end: a character may span two blocks.
    QByteArray output;
    const int seconds = RunTimeLimitSeconds();
    EChildEnd end = EChildEnd::Finished;
    const bool finished = RunChildCollectingOutput(runner.m_strProgram, arguments, kReadBlock, seconds * 1000,
                                                   [&](const QByteArray &block) {
                                                       if (output.size() < kMaxOutputBytes)
                                                           AppendBlock(output, block);
                                                   },
                                                   {&end, runner.m_nPassedFd, true});
    if (end == EChildEnd::TimedOut)
        ThreadTimeOuts().append({runner.m_strProgram.mid(runner.m_strProgram.lastIndexOf(u'/') + 1), seconds, {}});
    runner.m_strOutput = DecodeNativeName(output);
    if (!finished)
        return false;
    runner.m_lines = SplitRunnerOutput(runner.m_strOutput);
    return !runner.m_lines.isEmpty();
}

} // namespace velmora
