// Update manifests and the version marker of files come from the network; the update journal
// is read back after a crash.
#include "fuzz/FuzzTargets.h"

#include "fuzz/ScratchFile.h"
#include "update/ProfileFile.h"
#include "update/UpdateJournal.h"
#include "update/UpdateManifest.h"
#include "update/UpdateVersion.h"

namespace velmora::fuzz {

using namespace Qt::Literals::StringLiterals;

bool FuzzManifest(QByteArrayView data)
{
    CProfileFile manifest;
    manifest.LoadText(DecodeProfileBytes(data.toByteArray()));
    const QStringList records = BuildManifestRecords(manifest);
    // At most a header, an update record and one record per section; every value is cut.
    if (records.size() > manifest.Sections().size() + 2)
        return false;
    for (const QString &record : records) {
        if (!record.startsWith(u"[HEADER]|"_s) && !record.startsWith(u"[UPDATE]|"_s) && !record.startsWith(u"[FILE]|"_s))
            return false;
        if (record.size() > 9 + 5 * (CProfileFile::kMaxValue + 1))
            return false;
    }
    return true;
}

// A version is "" or two or four dotted numbers of 16 bits.
bool FuzzVersionMarker(QByteArrayView data)
{
    const QString path = WriteScratchFile(u"version.bin"_s, data);
    if (path.isEmpty())
        return true;
    const QString version = FileVersionString(path);
    if (version.isEmpty())
        return true;
    const QStringList numbers = version.split(u'.');
    if (numbers.size() != 2 && numbers.size() != 4)
        return false;
    for (const QString &number : numbers) {
        bool ok = false;
        if (number.toUInt(&ok) > 0xFFFF || !ok)
            return false;
    }
    return CompareVersions(version, version) == 0;
}

} // namespace velmora::fuzz

namespace velmora::fuzz {

namespace {

bool IsConfinedPath(const QString &path, bool mayBeEmpty)
{
    if (path.isEmpty())
        return mayBeEmpty;
    if (path.startsWith(u'/'))
        return false;
    for (const QString &step : path.split(u'/')) {
        if (step.isEmpty() || step == u"."_s || step == u".."_s)
            return false;
    }
    return true;
}

} // namespace

// An update journal names only files below the program folder, and reads back as written.
bool FuzzUpdateJournal(QByteArrayView data)
{
    const std::optional<SUpdateJournal> journal = ParseJournal(data);
    if (!journal)
        return true;
    if (journal->bDone && !journal->bComplete)
        return false;
    for (const SJournalEntry &entry : journal->entries) {
        if (!IsConfinedPath(entry.strTarget, false) || !IsConfinedPath(entry.strStage, false)
            || !IsConfinedPath(entry.strBackup, true))
            return false;
    }
    const std::optional<SUpdateJournal> again = ParseJournal(JournalText(*journal));
    if (!again || again->bComplete != journal->bComplete || again->bDone != journal->bDone
        || again->entries.size() != journal->entries.size())
        return false;
    for (qsizetype i = 0; i < again->entries.size(); ++i) {
        const SJournalEntry &a = again->entries.at(i);
        const SJournalEntry &b = journal->entries.at(i);
        if (a.strTarget != b.strTarget || a.strStage != b.strStage || a.strBackup != b.strBackup)
            return false;
    }
    return true;
}

} // namespace velmora::fuzz
