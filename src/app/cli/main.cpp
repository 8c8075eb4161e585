#include "app/TraceDebug.h"
#include "app/cli/CheckCommand.h"
#include "app/cli/ConsolePrompt.h"
#include "platform/DebugChannel.h"
#include "platform/NativeName.h"
#include "res/Version.h"

#include <QCoreApplication>
#include <cstdio>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char kUsage[] =
    "Usage: velmora check [--songs] [--subfolders] [--format text|json|csv]\n"
    "                     [--engine tool|library] [--jobs N] [--data-dir DIR]\n"
    "                     [--ansi-code-page N] [--trace] FOLDER\n"
    "       velmora --version\n"
    "\n"
    "  check         check FOLDER and print its rows; without --songs the media-details\n"
    "                check of every file, with --songs the song check of the folder\n"
    "  --subfolders  include the files of all subfolders (media-details check)\n"
    "  --format      output format of the rows (default text)\n"
    "  --engine      where media reports come from: the mediainfo tool, one run per file\n"
    "                (default), or the media-information library in this process\n"
    "  --jobs        files read ahead on this many threads (default 1); the rows and run\n"
    "                logs are the same whatever the number\n"
    "  --data-dir    folder for directory.log and error.log (default ~/Documents/Velmora)\n"
    "  --ansi-code-page  code page of text files without a mark (default 1252, or the\n"
    "                setting General/AnsiCodePage): 1252, 1251, 949, 932, 936 or 65001\n"
    "  --trace       also print every run-log line on stderr\n"
    "\n"
    "Exit status: 0 all rows in order, 1 some row marked or with a result, 2 usage error.\n";

// Arguments as this program sees names: bytes that are not UTF-8 survive (see NativeName.h).
QStringList Arguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(DecodeNativeName(QByteArray(argv[i])));
    return arguments;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QString::fromUtf16(kApplicationTitle));
    QCoreApplication::setOrganizationName(u"Klovenix"_s);
    QCoreApplication::setApplicationVersion(QString::fromUtf16(kVersionText));

    CConsolePrompt prompt;
    SetMessagePrompt(&prompt);
    CDebugChannel channel;
    channel.Connect(CDebugChannel::ConfiguredPort());
    SetActiveDebugChannel(&channel);

    const QStringList arguments = Arguments(argc, argv);
    int status = 2;
    if (arguments.value(0) == u"--version"_s) {
        std::printf("%s %s\n", QString::fromUtf16(kApplicationTitle).toUtf8().constData(),
                    QString::fromUtf16(kVersionText).toUtf8().constData());
        status = 0;
    } else if (arguments.value(0) == u"--help"_s || arguments.value(0) == u"-h"_s) {
        std::fputs(kUsage, stdout);
        status = 0;
    } else if (arguments.value(0) == u"check"_s) {
        status = RunCheckCommand(arguments.mid(1));
    } else {
        std::fputs(kUsage, stderr);
    }
    SetActiveDebugChannel(nullptr);
    SetMessagePrompt(nullptr);
    return status;
}
