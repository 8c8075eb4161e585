#include "update/ServerReachable.h"

#include "base/TraceDebug.h"
#include "base/UserPaths.h"
#include "platform/ChildProcess.h"
#include "platform/CodePage.h"
#include "update/ConnectionState.h"
#include "update/UpdateSettings.h"

#include <QStringList>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

int g_cachedAnswer = -1;
constexpr qsizetype kCaptureBlock = 100;
constexpr qsizetype kMaxCaptureUnits = 1 << 20;

// Single quotes keep the shell from reading anything in a folder name.
QString ShellQuoted(const QString &text)
{
    return u'\'' + QString(text).replace(u"'"_s, u"'\\''"_s) + u'\'';
}

} // namespace

QString RunAndCapture(const QString &program, const QStringList &arguments, int timeLimitMs)
{
    QString output;
    RunChildCollectingOutput(program, arguments, kCaptureBlock, timeLimitMs, [&](const QByteArray &block) {
        if (output.size() < kMaxCaptureUnits)
            output += DecodeCodePage(block, kAnsiCodePage);
    });
    return output;
}

QString PingCommand(const QString &programFolder, const QString &host)
{
    return ShellQuoted(programFolder + u"/velmora-ping"_s) + u' ' + host + u" -n:1 -w:3000"_s;
}

int PingOutputVerdict(const QString &output, QString *firstWord)
{
    if (!output.contains(u"replied in"_s))
        return 0;
    const QString word = output.section(u' ', 0, 0);
    if (firstWord)
        *firstWord = word;
    return word.startsWith(u"192"_s) || word.startsWith(u"127"_s) ? 0 : 1;
}

int IsServerReachable(int fresh)
{
    const QString host = UpdateHost();
    if (!IsInternetConnected(host))
        return 0;
    if (fresh)
        g_cachedAnswer = -1;
    else if (g_cachedAnswer >= 0)
        return g_cachedAnswer;
    // A host that could carry shell words is never put on a command line.
    const QString output = IsPlausibleHost(host)
        ? RunAndCapture(u"/bin/sh"_s, {u"-c"_s, PingCommand(ProgramFolder(), host)})
        : QString();
    g_cachedAnswer = 0;
    QString firstWord;
    const int answer = PingOutputVerdict(output, &firstWord);
    if (!output.contains(u"replied in"_s)) {
        TraceDebug(u"cping %x, (%s)\n", 0, output);
        return 0;
    }
    g_cachedAnswer = answer;
    TraceDebug(u"cping %x, (%s)\n", answer, firstWord);
    return answer;
}

void ResetServerReachable()
{
    g_cachedAnswer = -1;
}

} // namespace velmora
