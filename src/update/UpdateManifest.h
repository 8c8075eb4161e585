#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

class CProfileFile;

// The record list of a manifest: "[HEADER]|…", "[UPDATE]|…", then "[FILE]|…" for the FILEi
// sections 1 … FILENUMBER that name a file. Values go in verbatim, "|" included.
QStringList BuildManifestRecords(const CProfileFile &manifest);

// Field i of a "|"-separated record ("" when it has fewer fields).
QString RecordField(const QString &record, int index);
// The first record whose tag (its first 8 characters) is tag, without regard to case; -1
// when there is none.
qsizetype FindRecord(const QStringList &records, QStringView tag);

// What a manifest's header offers measured against the running program.
struct SManifestOffer
{
    bool bHeader = false;
    QString strOfferedName;
    QString strOfferedVersion;
    QString strProgramName;
    QString strProgramVersion;
    int nComparison = 0; // CompareVersions(offered, program); meaningful with bHeader
    bool IsForProgram() const;
    bool IsNewer() const { return IsForProgram() && nComparison == 1; }
};
SManifestOffer EvaluateOffer(const QStringList &records);

// Reads the manifest at path into records and decides: true when the manifest offers this
// program a newer version and, unless silent, the user agrees to update now.
bool ReadManifest(const QString &path, QStringList &records, bool silent);

} // namespace velmora
