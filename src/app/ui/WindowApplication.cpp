#include "app/ui/WindowApplication.h"

#include "app/ApplicationIdentity.h"
#include "app/cli/CommandLine.h"

#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <cstdio>

namespace velmora {

namespace {

// Qt ends the process when it cannot reach a display; say so in one line instead.
bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int RunWindowApplication(int argc, char **argv, const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (argument.compare(QStringLiteral("-iDodOdevOdiviz"), Qt::CaseInsensitive) != 0
            && !QFileInfo(argument).isDir()) {
            std::fprintf(stderr, "velmora: %s is not a folder\n", argument.toLocal8Bit().constData());
            PrintUsageError();
            return 2;
        }
    }
    if (!HasDisplay()) {
        std::fputs("velmora: no display to open the window on (DISPLAY is not set); "
                   "use 'velmora check' on the command line\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    NameApplication();
    QMainWindow frame;
    frame.show();
    return application.exec();
}

} // namespace velmora
