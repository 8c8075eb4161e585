#include "verify/VerifyRun.h"

#include "base/RunLogs.h"
#include "check/DirItemList.h"
#include "check/ReadAhead.h"
#include "cache/ResultCache.h"
#include "verify/CachedVerify.h"
#include "verify/FileVerify.h"
#include "verify/SongVerify.h"
#include "verify/VerifyPrefetch.h"

#include <QHash>
#include <QSet>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// A stopped verification judges only the rows before the first one with a file not read,
// so that no verdict rests on findings that are missing.
qsizetype LeadingRowsRead(const QList<SSongRow> &rows, const QHash<QString, SFileFindings> &findings)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        for (const QString &file : rows.at(i).files) {
            if (!findings.contains(file))
                return i;
        }
    }
    return rows.size();
}

} // namespace

SVerifyReport VerifySongList(const CDirItemList &list, const SVerifyOptions &options)
{
    QList<SSongRow> rows;
    QStringList files;
    QSet<QString> seen;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        const _ITEMINFO &item = list.Item(i);
        SSongRow row;
        row.bFolder = item.IsFolder();
        row.strPath = item.FullPath();
        if (!row.bFolder)
            row.files = item.FilePaths();
        for (const QString &file : std::as_const(row.files)) {
            if (!seen.contains(file)) {
                seen.insert(file);
                files.append(file);
            }
        }
        rows.append(row);
    }

    SVerifyReport report;
    QHash<QString, SFileFindings> findings;
    // Files the prefetch does not have (it saw only the rows the walk added) are read here.
    QStringList unread;
    for (const QString &file : std::as_const(files)) {
        if (!options.prefetch || !options.prefetch->Holds(file))
            unread.append(file);
    }
    CReadAhead<SFileFindings> reads(int(unread.size()), options.nJobs,
                                    [&](int i) { return VerifyFileThroughCache(unread.at(i), options.cache); });
    int nextUnread = 0;
    // Every file, prefetched or not, passes the stop question, so a stop waits for one file.
    for (const QString &file : std::as_const(files)) {
        if (options.progress && !options.progress(int(findings.size()), int(files.size()))) {
            report.bComplete = false;
            break;
        }
        const bool prefetched = nextUnread >= unread.size() || unread.at(nextUnread) != file;
        findings.insert(file, prefetched ? *options.prefetch->Take(file) : reads.Take(nextUnread++));
        if (options.cache)
            options.cache->WriteFullBatches();
    }
    if (report.bComplete && options.progress)
        options.progress(int(files.size()), int(files.size()));
    if (!report.bComplete)
        rows.resize(LeadingRowsRead(rows, findings));
    report.rows = JudgeSongs(rows, findings, list.m_strCurrentFolder);
    return report;
}

void WriteVerifyLog(const SVerifyReport &report)
{
    for (const SSongVerdict &row : report.rows) {
        for (const SVerifyReason &reason : row.reasons)
            WriteLog(Problem, u"VERIFY, %s, %s, %s\r\n", reason.strCode, reason.strPath, reason.strText);
    }
}

SVerifyReport VerifyAndLog(const CDirItemList &list, const SVerifyOptions &options)
{
    SVerifyReport report = VerifySongList(list, options);
    WriteVerifyLog(report);
    if (!report.bComplete)
        WriteLog(Plain, u"LIST, Verification stopped by the user after %d of %d songs\r\n", int(report.rows.size()),
                 list.GetItemCount());
    return report;
}

} // namespace velmora
