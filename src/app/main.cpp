#include "app/ApplicationIdentity.h"
#include "base/TraceDebug.h"
#include "app/cli/CommandLine.h"
#include "app/ui/WindowApplication.h"
#include "platform/DebugChannel.h"
#include "platform/MessagePrompt.h"
#include "platform/NativeName.h"
#include "app/cli/ConsolePrompt.h"
#include "base/UserPaths.h"
#include "update/UpdateJournal.h"

#include <QCoreApplication>

#include <cstdio>

using namespace velmora;

namespace {

// Arguments as this program sees names: bytes that are not UTF-8 survive (see NativeName.h).
QStringList Arguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(DecodeNativeName(QByteArray(argv[i])));
    return arguments;
}

int RunHeadless(int argc, char **argv, const QStringList &arguments)
{
    QCoreApplication application(argc, argv);
    NameApplication();
    CConsolePrompt prompt;
    SetMessagePrompt(&prompt);
    CDebugChannel channel;
    channel.Connect(CDebugChannel::ConfiguredPort());
    SetActiveDebugChannel(&channel);
    const int status = RunCommandLine(arguments);
    SetActiveDebugChannel(nullptr);
    SetMessagePrompt(nullptr);
    return status;
}

// An update cut short leaves new and old files side by side; the old program is put back
// before anything runs.
void UndoInterruptedUpdate()
{
    QString error;
    if (!RecoverInterruptedUpdate(ProgramFolder(), &error))
        std::fprintf(stderr, "velmora: %s\n", error.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv)
{
    UndoInterruptedUpdate();
    const QStringList arguments = Arguments(argc, argv);
    if (IsCommandLineForm(arguments))
        return RunHeadless(argc, argv, arguments);
    return RunWindowApplication(argc, argv, arguments);
}
