#pragma once

#include "verify/FileVerify.h"
#include "verify/VerifyReason.h"

#include <QHash>
#include <QList>
#include <QStringList>

namespace velmora {

// One row of the song check as the verification sees it.
struct SSongRow
{
    bool bFolder = false;
    QString strPath;     // the row's path (its first file)
    QStringList files;   // full paths of its files
};

// The verdict of every row: the findings of its files, and what only the whole tree tells
// (a song's missing half, its two playing times, content found twice, names and paths a
// stick or a Windows host cannot take). findings holds every file of the rows by path.
QList<SSongVerdict> JudgeSongs(const QList<SSongRow> &rows, const QHash<QString, SFileFindings> &findings,
                               const QString &checkedFolder);

} // namespace velmora
