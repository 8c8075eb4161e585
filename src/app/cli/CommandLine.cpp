#include "app/cli/CommandLine.h"

#include "app/cli/CheckCommand.h"
#include "app/cli/UpdateCommand.h"
#include "app/cli/PlaylistCommand.h"
#include "app/cli/UndoCommand.h"
#include "res/Version.h"

#include <cstdio>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char kUsage[] =
    "Usage: velmora [-iDodOdevOdiviz] [FOLDER|PLAYLIST]\n"
    "       velmora check [--songs] [--subfolders] [--format text|json|csv]\n"
    "                     [--engine tool|library] [--jobs N] [--no-cache] [--full-check]\n"
    "                     [--data-dir DIR] [--ansi-code-page N] [--trace] [--quiet]\n"
    "                     [--move-to DIR [--overwrite|--keep-existing] [--dry-run]] FOLDER\n"
    "       velmora check --songs --verify [--only-problems] [--move-to DIR [--dry-run]]\n"
    "                     [other check options] FOLDER\n"
    "       velmora undo MANIFEST\n"
    "       velmora update --check [--host HOST]\n"
    "       velmora playlist [--format text|json|csv] [--data-dir DIR] [--ansi-code-page N]\n"
    "                        [--suggest] [--quiet] FILE\n"
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
    "  --no-cache    read every file again: the results kept from earlier checks of\n"
    "                unchanged files (results-cache.sqlite in the data folder) are neither\n"
    "                used nor updated; the rows and run logs are the same either way\n"
    "  --full-check  with --subfolders, check a folder in full even when nothing in it\n"
    "                changed since it was checked the same way (unchanged files' kept\n"
    "                results are still used); otherwise that check's rows and logs are\n"
    "                given again after one look at each entry\n"
    "  --data-dir    folder for directory.log, error.log and the results cache (default\n"
    "                ~/Documents/Velmora)\n"
    "  --ansi-code-page  code page of text files without a mark (default: the setting\n"
    "                General/AnsiCodePage, else the locale's: 949 Korean, 932 Japanese,\n"
    "                936/950 Chinese, 1252 otherwise): 1252, 1251, 949, 932, 936, 950 or 65001\n"
    "  --trace       also print every run-log line on stderr\n"
    "  --quiet       no progress line on stderr (shown only when stderr is a terminal)\n"
    "  --move-to     after the check, move the file of every ticked row into DIR\n"
    "  --overwrite   replace a file of the same name in DIR (default: keep it, report it)\n"
    "  --keep-existing  keep a file of the same name in DIR and the row's file in place\n"
    "  --dry-run     print the moves on stderr instead of making them\n"
    "  --verify      after the song check, read every file of every song whole and give\n"
    "                each song a verdict (ok, warning, broken) with its reasons; with\n"
    "                --move-to the files of the broken songs go into DIR, in their\n"
    "                folders, with a manifest (never over a file that is there)\n"
    "  --only-problems  print only the rows with a problem\n"
    "  undo          put the files a --verify --move-to moved back, as its MANIFEST says\n"
    "  playlist      load a .txt or .mpl playlist as the playlist grid does, log whether\n"
    "                each entry's file exists, and print one row per entry\n"
    "  --suggest     name the likely file of each missing entry when one is nearby\n"
    "  update --check  fetch the update manifest from HOST (default: the setting\n"
    "                Update/Host) and say what it offers; installs nothing\n"
    "\n"
    "Exit status: check: 0 all rows in order, 1 some row marked or with a result (with\n"
    "--verify: or a song with a warning or broken), 3 some move failed (its file stays\n"
    "where it was); undo: 0 all back, 1 some file not put back; playlist: 0 every file found,\n"
    "1 some file missing or the playlist unusable; update --check: 0 up to date,\n"
    "1 an update is offered, 2 error; all: 2 usage error. Ctrl+C or SIGTERM stop check\n"
    "and playlist between two files: the rows so far are printed, exit 130 or 143.\n";

const QStringList &Subcommands()
{
    static const QStringList names{u"check"_s, u"playlist"_s, u"update"_s, u"undo"_s};
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
    if (command == u"undo"_s)
        return RunUndoCommand(arguments.mid(1));
    std::fputs(kUsage, stderr);
    return 2;
}

void PrintUsageError()
{
    std::fputs(kUsage, stderr);
}

} // namespace velmora
