#include "verify/VerifyRun.h"

#include "base/RunLogs.h"
#include "check/DirItemList.h"
#include "check/ReadAhead.h"
#include "verify/FileVerify.h"
#include "verify/SongFiles.h"
#include "verify/SongVerify.h"
#include "verify/VerifyPrefetch.h"

#include <QHash>
#include <QSet>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

SVerifyReport VerifySongList(const CDirItemList &list, const SVerifyOptions &options)
{
    QList<SSongRow> rows;
    QStringList files;
    QSet<QString> seen;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        const _ITEMINFO &item = list.Item(i);
        SSongRow row;
        row.bFolder = item.IsFolder();
        row.strPath = item.szPath;
        if (!row.bFolder)
            row.files = SongFilePaths(item);
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
        std::optional<SFileFindings> found = options.prefetch ? options.prefetch->Take(file) : std::nullopt;
        if (found)
            findings.insert(file, std::move(*found));
        else
            unread.append(file);
    }
    CReadAhead<SFileFindings> reads(int(unread.size()), options.nJobs, [&unread](int i) { return VerifyFile(unread.at(i)); });
    for (int i = 0; i < unread.size(); ++i) {
        if (options.progress && !options.progress(int(findings.size()), int(files.size()))) {
            report.bComplete = false;
            break;
        }
        findings.insert(unread.at(i), reads.Take(i));
    }
    if (report.bComplete && options.progress)
        options.progress(int(files.size()), int(files.size()));
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

} // namespace velmora
