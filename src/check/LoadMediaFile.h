#pragma once

#include "cache/FileKey.h"
#include "widgets/ProcessRunner.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

struct _ITEMINFO;
class CResultCache;

// What the files of one song row gave: one analysis result per name, in order, up to the
// first name whose file is missing.
struct SSongFileResults
{
    QList<QStringList> results;
    QString strMissingPath; // the path of the first missing file, if any
    QList<SToolTimeOut> timeOuts; // outside tools ended at their time limit meanwhile
    QList<SKeptResult> kept;      // results read now, for the cache once the row took them
};

// Reads the files of a row, given as full paths (_ITEMINFO::FilePaths), without logging or
// changing the row: safe on a worker thread. With a cache, files it holds are not read.
SSongFileResults ReadSongFiles(const QStringList &files, const CResultCache *cache = nullptr);

// Reads tags and playing time of every file of a song row. Returns 1 on success or when
// there is nothing to do, 0 on an error (the result text then names it). With readAhead the
// files were read already and only the results are taken.
int LoadMediaFile(_ITEMINFO &item, const SSongFileResults *readAhead = nullptr);

// Whether LoadMediaFile would read the row's files at all.
bool NeedsSongFiles(const _ITEMINFO &item);

} // namespace velmora
