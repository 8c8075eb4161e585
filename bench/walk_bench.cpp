// velmora-walk-bench FOLDER: times the plain walk of one folder (the rows of the result
// list, without reading any file) and reports the memory the rows take. One line of
// "key=value" fields goes to stdout for bench/run-bench.sh.

#include "check/DirItemList.h"
#include "check/DirectoryWalk.h"
#include "inspect/FileBytes.h"
#include "widgets/ShGetFileInfo.h"

#include <QElapsedTimer>
#include <QFile>
#include <QList>

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Resident set size now, from the second field of /proc/self/statm (pages); -1 if unknown.
long long ResidentKb()
{
    const auto statm = velmora::ReadWholeFile(u"/proc/self/statm"_s, 4096);
    if (!statm)
        return -1;
    const QList<QByteArray> fields = statm->simplified().split(' ');
    bool ok = false;
    const long long pages = fields.size() > 1 ? fields.at(1).toLongLong(&ok) : 0;
    return ok ? pages * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

long long PeakKb()
{
    rusage usage {};
    return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("usage: velmora-walk-bench FOLDER\n", stderr);
        return 2;
    }
    const QString folder = QFile::decodeName(argv[1]);

    // The type names are looked up once per extension; loading the type database first
    // keeps its memory out of the rows' share.
    velmora::CShGetFileInfo &shell = velmora::CShGetFileInfo::Instance();
    for (const QString &name : {u"a.mp3"_s, u"a.cdg"_s, u"a.zip"_s, u"a.kar"_s, u"a"_s})
        shell.TypeName(folder + u'/' + name, false);

    velmora::CDirItemList list;
    list.m_nTopLevel = 1; // the media-details kind: no run-log line per row
    list.m_nIncludeSubfolders = 0;
    list.m_strCurrentFolder = folder;

    const long long before = ResidentKb();
    QElapsedTimer timer;
    timer.start();
    velmora::DirectoryItemInfo(list, folder);
    const double walkMs = double(timer.nsecsElapsed()) / 1e6;
    const long long after = ResidentKb();

    const int rows = list.GetItemCount();
    const double bytesPerRow = rows > 0 && before >= 0 && after >= 0 ? double(after - before) * 1024.0 / rows : 0.0;
    std::printf("rows=%d walk_ms=%.1f rss_before_kb=%lld rss_after_kb=%lld peak_kb=%lld bytes_per_row=%.0f "
                "record_bytes=%zu capacity=%d\n",
                rows, walkMs, before, after, PeakKb(), bytesPerRow, sizeof(velmora::_ITEMINFO),
                list.m_items.GetAllocSize());
    return rows > 0 ? 0 : 1;
}
