// velmora-updater URL "PROGRAM FOLDER" "USER FOLDER" "UPDATE FOLDER" "[KILL]|name||" "[HEADER]|…"
// "[FILE]|…"…: waits for the program to end, installs the files and starts the program
// again with -iDodOdevOdiviz, the old one when the install failed.
#include "app/ApplicationIdentity.h"
#include "update/UpdateInstall.h"
#include "update/UpdateSettings.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>
#include <unistd.h>

using namespace velmora;

namespace {

constexpr int kWaitForExitMs = 60000;

void Report(const QString &text)
{
    std::fprintf(stderr, "velmora-updater: %s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    NameApplication();
    const std::optional<SUpdaterRequest> request = ParseUpdaterArguments(application.arguments().mid(1));
    if (!request) {
        std::fputs("Usage: velmora-updater URL PROGRAM-FOLDER USER-FOLDER UPDATE-FOLDER \"[KILL]|name||\" RECORD...\n",
                   stderr);
        return 2;
    }
    const QString program = ResolveProgramFile(request->strProgramFolder, request->strKillName);
    if (!program.isEmpty() && !WaitForProgramExit(program, kWaitForExitMs)) {
        Report(QStringLiteral("the program is still running; nothing installed"));
        return 1;
    }
    QString error;
    const bool installed = InstallUpdateFiles(*request, &error);
    if (!installed)
        Report(QStringLiteral("update not installed, the old files are kept: ") + error);
    // Started through pkexec we run as root; the program must not come back as root.
    if (::geteuid() == 0 && qEnvironmentVariableIsSet("PKEXEC_UID")) {
        Report(QStringLiteral("start the program again yourself"));
        return installed ? 0 : 1;
    }
    const QString restart = ResolveProgramFile(request->strProgramFolder, request->strKillName);
    if (!restart.isEmpty())
        QProcess::startDetached(restart, {QString::fromUtf16(kNoUpdateSwitch)}, request->strProgramFolder);
    return installed ? 0 : 1;
}
