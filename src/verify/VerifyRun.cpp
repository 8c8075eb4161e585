#include "verify/VerifyRun.h"

#include "base/RunLogs.h"
#include "check/DirItemList.h"
#include "check/ReadAhead.h"
#include "verify/FileVerify.h"
#include "verify/SongFiles.h"
#include "verify/SongVerify.h"

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
    CReadAhead<SFileFindings> reads(int(files.size()), options.nJobs, [&files](int i) { return VerifyFile(files.at(i)); });
    for (int i = 0; i < files.size(); ++i) {
        if (options.progress && !options.progress(i, int(files.size()))) {
            report.bComplete = false;
            break;
        }
        findings.insert(files.at(i), reads.Take(i));
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
