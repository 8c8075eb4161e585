// velmora-playlist-bench [ROWS]: times loading a playlist of ROWS songs (default
// 1,000,000) into the playlist grid, as a UTF-8 record playlist (through the juke cache,
// kept short so a million lines stay below the 32 MiB limit of text playlists) and as a
// revision-2 MPL file, and how long the first screen of rows and a sort take, and what the
// rows hold in memory: the grid's own count (HeldBytes) per row and per byte of the file,
// and the growth of resident memory per row over the load (freed heap given back first).
// One line of "key=value" fields per playlist goes to stdout.

#include "playlist/RevItemList.h"
#include "samplegen/MplWriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

long long PeakKb()
{
    rusage usage {};
    return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : -1;
}

// Resident memory now, which unlike the peak can be compared before and after one load.
long long ResidentKb()
{
    QFile statm(u"/proc/self/statm"_s);
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString RecordPlaylist(int rows, const QString &folder)
{
    QString text = u"; Header playlist: Number, Title, Artist, Files, Folder, Album, Settings, Track.\r\n"_s;
    text.reserve(qsizetype(rows) * 30);
    Q_UNUSED(folder);
    for (int i = 1; i <= rows; ++i)
        text += u"%1|T|A|%1.cdg|S||||\r\n"_s.arg(i);
    return text;
}

QByteArray MplPlaylist(int rows, const QString &folder)
{
    QList<QStringList> records;
    records.reserve(rows);
    for (int i = 1; i <= rows; ++i)
        records.append({QString::number(i) + u".mp3"_s, folder, QString::number(i), u"Song"_s, u"Singer"_s});
    return samplegen::MakeMplFile(u"klovmplrev2"_s, records);
}

void Measure(const char *kind, const QString &path)
{
    CRevItemList grid;
    // Room freed by the playlists' generation and earlier grids goes back to the system
    // first, so that the growth below is this load's own.
    malloc_trim(0);
    const long long residentBefore = ResidentKb();
    QElapsedTimer timer;
    timer.start();
    const bool loaded = grid.ListSelectDirectory(path, false);
    const qint64 loadMs = timer.elapsed();
    const long long residentGrowth = ResidentKb() - residentBefore;
    const qint64 held = grid.HeldBytes();
    // What a view asks for to draw its first screen: 40 rows, each settling its check.
    timer.restart();
    for (int i = 0; i < 40; ++i) {
        grid.GetRow(i);
        for (int c = 1; c < kRevColumnCount; ++c)
            grid.GetCellText(i, c);
    }
    const qint64 screenUs = timer.nsecsElapsed() / 1000;
    timer.restart();
    grid.SortByColumn(2);
    const qint64 sortMs = timer.elapsed();
    const int rows = std::max(grid.GetItemCount(), 1);
    std::printf("kind=%s loaded=%d rows=%d load_ms=%lld first_screen_us=%lld sort_title_ms=%lld peak_rss_kb=%lld"
                " file_bytes=%lld held_bytes=%lld held_per_row=%lld held_per_file_byte=%.1f"
                " rss_growth_per_row=%lld\n",
                kind, loaded ? 1 : 0, grid.GetItemCount(), static_cast<long long>(loadMs),
                static_cast<long long>(screenUs), static_cast<long long>(sortMs), PeakKb(),
                static_cast<long long>(QFileInfo(path).size()), static_cast<long long>(held),
                static_cast<long long>(held / rows), double(held) / double(std::max<qint64>(QFileInfo(path).size(), 1)),
                residentGrowth * 1024 / rows);
}

} // namespace

int main(int argc, char **argv)
{
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000000;
    QTemporaryDir dir;
    // The juke cache and its count go to the temporary folder, not the user's settings.
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    const QString folder = dir.path() + u"/songs/"_s;
    const QString text = dir.filePath(u"big.txt"_s);
    const QString mpl = dir.filePath(u"big.mpl"_s);
    if (!WriteFile(text, "\xEF\xBB\xBF" + RecordPlaylist(rows, folder).toUtf8()) || !WriteFile(mpl, MplPlaylist(rows, folder))) {
        std::fprintf(stderr, "cannot write the playlists\n");
        return 1;
    }
    Measure("txt-first", text);
    Measure("txt-cached", text);
    Measure("mpl", mpl);
    return 0;
}
