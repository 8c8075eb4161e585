#include "app/cli/CommandLine.h"

#include "app/cli/CheckCommand.h"
#include "app/cli/UpdateCommand.h"
#include "app/cli/PlaylistCommand.h"
#include "res/Version.h"

#include <cstdio>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char kUsage[] =
    "Usage: velmora [-iDodOdevOdiviz] [FOLDER|PLAYLIST]\n"
    "       velmora check [--songs] [--subfolders] [--format text|json|csv]\n"
    "                     [--engine tool|library] [--jobs N] [--data-dir DIR]\n"
    "                     [--ansi-code-page N] [--trace]\n"
    "                     [--move-to DIR [--overwrite|--keep-existing] [--dry-run]] FOLDER\n"
    "       velmora update --check [--host HOST]\n"
    "       velmora playlist [--format text|json|csv] [--data-dir DIR] [--suggest] FILE\n"
    "       velmora --version\n"
    "\n"
    "  (no command)  open the window; with FOLDER, check FOLDER in it at once\n"
    "  check         check FOLDER and print its rows; without --songs the media-details\n"
    "                check of every file, with --songs the song check of the folder\n"
    "  --subfolders  include the files of all subfolders (media-details check)\n"
    "  --format      output format of the rows (default text)\n"
    "  --engine      where media reports come from: the media-information library in this\n"
    "                process (default, when the mediainfo tool is built on the same library\n"
    "                version), or the mediainfo tool, one run per file\n"
    "  --jobs        files read ahead on this many threads (default: one per core); the\n"
    "                rows and run logs are the same whatever the number\n"
    "  --data-dir    folder for directory.log and error.log (default ~/Documents/Velmora)\n"
    "  --ansi-code-page  code page of text files without a mark (default 1252, or the\n"
    "                setting General/AnsiCodePage): 1252, 1251, 949, 932, 936 or 65001\n"
    "  --trace       also print every run-log line on stderr\n"
    "  --move-to     after the check, move the file of every ticked row into DIR\n"
    "  --overwrite   replace a file of the same name in DIR (default: keep it, report it)\n"
    "  --keep-existing  keep a file of the same name in DIR and the row's file in place\n"
    "  --dry-run     print the moves on stderr instead of making them\n"
    "  playlist      load a .txt or .mpl playlist as the playlist grid does, log whether\n"
    "                each entry's file exists, and print one row per entry\n"
    "  --suggest     name the likely file of each missing entry when one is nearby\n"
    "  update --check  fetch the update manifest from HOST (default: the setting\n"
    "                Update/Host) and say what it offers; installs nothing\n"
    "\n"
    "Exit status: check: 0 all rows in order, 1 some row marked or with a result,\n"
    "3 some move failed (its file stays where it was); playlist: 0 every file found,\n"
    "1 some file missing or the playlist unusable; update --check: 0 up to date,\n"
    "1 an update is offered, 2 error; all: 2 usage error.\n";

const QStringList &Subcommands()
{
    static const QStringList names{u"check"_s, u"playlist"_s, u"update"_s};
    return names;
}

} // namespace

bool IsCommandLineForm(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return false;
    const QString &first = arguments.first();
    return Subcommands().contains(first) || first.startsWith(u"--"_s) || first == u"-h"_s;
}

int RunCommandLine(const QStringList &arguments)
{
    const QString command = arguments.value(0);
    if (command == u"--version"_s) {
        std::printf("%s %s\n", QString::fromUtf16(kApplicationTitle).toUtf8().constData(),
                    QString::fromUtf16(kVersionText).toUtf8().constData());
        return 0;
    }
    if (command == u"--help"_s || command == u"-h"_s) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == u"check"_s)
        return RunCheckCommand(arguments.mid(1));
    if (command == u"update"_s)
        return RunUpdateCommand(arguments.mid(1));
    if (command == u"playlist"_s)
        return RunPlaylistCommand(arguments.mid(1));
    std::fputs(kUsage, stderr);
    return 2;
}

void PrintUsageError()
{
    std::fputs(kUsage, stderr);
}

} // namespace velmora
