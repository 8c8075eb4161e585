#include "app/ui/WindowApplication.h"

#include "app/ApplicationIdentity.h"
#include "app/StartupOptions.h"
#include "base/TraceDebug.h"
#include "update/UpdateCommands.h"
#include "app/cli/CommandLine.h"
#include "app/ui/MainFrame.h"
#include "app/ui/QuillonView.h"
#include "app/ui/WindowPrompt.h"
#include "platform/DebugChannel.h"
#include "widgets/ui/FileIcons.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QIcon>
#include <QTimer>
#include <cstdio>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// Qt ends the process when it cannot reach a display; say so in one line instead.
bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// A playlist handed over by a file manager opens in the grid.
bool IsPlaylistFile(const QString &argument)
{
    const QFileInfo file(argument);
    const QString suffix = file.suffix().toLower();
    return file.isFile() && (suffix == u"txt"_s || suffix == u"mpl"_s);
}

bool CheckArguments(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (!IsNoUpdateSwitch(argument) && !QFileInfo(argument).isDir() && !IsPlaylistFile(argument)) {
            std::fprintf(stderr, "velmora: %s is not a folder or playlist\n", argument.toLocal8Bit().constData());
            PrintUsageError();
            return false;
        }
    }
    return true;
}

} // namespace

void ApplyApplicationIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(u":/icons/velmora-%1.png"_s.arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(u"velmora"_s);
}

void ApplyApplicationFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (font.pixelSize() > 0)
        font.setPixelSize(font.pixelSize() + 2);
    else
        font.setPointSizeF(font.pointSizeF() + 2);
    QApplication::setFont(font);
}

int RunWindowApplication(int argc, char **argv, const QStringList &arguments)
{
    if (!CheckArguments(arguments))
        return 2;
    if (!HasDisplay()) {
        std::fputs("velmora: no display to open the window on (DISPLAY is not set); "
                   "use 'velmora check' on the command line\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    NameApplication();
    ApplyApplicationFont();
    ApplyApplicationIcon();
    ChooseIconTheme();

    CDebugChannel channel;
    channel.Connect(CDebugChannel::ConfiguredPort());
    SetActiveDebugChannel(&channel);
    CWindowPrompt prompt;
    SetMessagePrompt(&prompt);

    const SStartupOptions options = ReadStartupOptions(arguments);
    // The updater replaces this program; it must not find a window of it still open.
    if (CUpdateCommands(options.nUpdateType).RunStartupCheck()) {
        SetMessagePrompt(nullptr);
        SetActiveDebugChannel(nullptr);
        return 0;
    }

    int status = 0;
    {
        CMainFrame frame(options.nUpdateType);
        prompt.SetParent(&frame);
        frame.show();
        QTimer::singleShot(0, &frame, [&frame, &options] {
            frame.View().ShowResultList();
            const QFileInfo start(options.strFolder);
            if (options.strFolder.isEmpty())
                return;
            if (start.isDir())
                frame.View().CheckFolder(start.absoluteFilePath(), 1);
            else
                frame.View().OpenPlaylist(start.absoluteFilePath());
        });
        status = application.exec();
        prompt.SetParent(nullptr);
    }
    SetMessagePrompt(nullptr);
    SetActiveDebugChannel(nullptr);
    return status;
}

} // namespace velmora
