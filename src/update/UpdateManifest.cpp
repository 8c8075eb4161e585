#include "update/UpdateManifest.h"

#include "base/TraceDebug.h"
#include "platform/MessagePrompt.h"
#include "update/ProfileFile.h"
#include "update/UpdateSettings.h"
#include "update/UpdateVersion.h"

#include <QFileInfo>

#include <map>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// The count is read like a decimal number: leading blanks, then digits; anything else
// (or nothing) means no FILE sections.
quint64 FileCount(const QString &text)
{
    const QString trimmed = text.trimmed();
    qsizetype digits = 0;
    while (digits < trimmed.size() && digits < 18 && trimmed.at(digits).isDigit() && trimmed.at(digits) < u'\x80')
        ++digits;
    return trimmed.left(digits).toULongLong();
}

// The numbers i of the "FILEi" sections present, in order. Walking these instead of
// 1 … FILENUMBER gives the same records, and a count of billions costs nothing.
std::map<quint64, QString> FileSections(const CProfileFile &manifest, quint64 count)
{
    std::map<quint64, QString> sections;
    for (const QString &name : manifest.Sections()) {
        if (!name.startsWith(u"FILE"_s, Qt::CaseInsensitive) || name.size() < 5 || name.size() > 22)
            continue;
        const QString number = name.mid(4);
        if (number.startsWith(u'0'))
            continue;
        bool ok = false;
        const quint64 i = number.toULongLong(&ok);
        if (ok && i >= 1 && i <= count)
            sections.emplace(i, name);
    }
    return sections;
}

} // namespace

QStringList BuildManifestRecords(const CProfileFile &manifest)
{
    QStringList records;
    const auto value = [&](const QString &section, const QString &key) { return manifest.Value(section, key); };
    const QString header = u"HEADER"_s;
    if (!value(header, u"APPTITLE"_s).isEmpty())
        records.append(u"[HEADER]|%1|%2|%3|%4"_s.arg(value(header, u"APPTITLE"_s), value(header, u"FILENUMBER"_s),
                                                     value(header, u"FILENAME"_s), value(header, u"FILEVERSION"_s)));
    const QString update = u"UPDATE"_s;
    if (!value(update, u"FILENAME"_s).isEmpty())
        records.append(u"[UPDATE]|%1|%2|%3|%4"_s.arg(value(update, u"FILENAME"_s), value(update, u"VERSION"_s),
                                                     value(update, u"BUILDDATE"_s), value(update, u"LOCALDIR"_s)));
    for (const auto &[i, section] : FileSections(manifest, FileCount(value(header, u"FILENUMBER"_s)))) {
        if (value(section, u"FILENAME"_s).isEmpty())
            continue;
        records.append(u"[FILE]|%1|%2|%3|%4|%5"_s.arg(value(section, u"FILENAME"_s), value(section, u"VERSION"_s),
                                                      value(section, u"BUILDDATE"_s), value(section, u"LOCALDIR"_s),
                                                      value(section, u"CHECKSUM"_s)));
    }
    return records;
}

QString RecordField(const QString &record, int index)
{
    return record.section(u'|', index, index);
}

qsizetype FindRecord(const QStringList &records, QStringView tag)
{
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (QStringView(records[i]).left(8).compare(tag, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool SManifestOffer::IsForProgram() const
{
    return bHeader && IsProgramName(strOfferedName, strProgramName);
}

SManifestOffer EvaluateOffer(const QStringList &records)
{
    SManifestOffer offer;
    const qsizetype header = FindRecord(records, u"[HEADER]");
    if (header < 0)
        return offer;
    offer.strOfferedName = RecordField(records[header], 3);
    offer.strOfferedVersion = RecordField(records[header], 4);
    offer.bHeader = !offer.strOfferedName.isEmpty();
    offer.strProgramName = RunningProgramName();
    offer.strProgramVersion = FileVersionString(RunningProgramPath());
    offer.nComparison = CompareVersions(offer.strOfferedVersion, offer.strProgramVersion);
    return offer;
}

bool ReadManifest(const QString &path, QStringList &records, bool silent)
{
    if (!QFileInfo(path).isFile())
        return false;
    records.clear();
    CProfileFile manifest;
    manifest.Load(path);
    records = BuildManifestRecords(manifest);
    const SManifestOffer offer = EvaluateOffer(records);
    if (!offer.bHeader)
        return false;
    TraceDebug(u"UPDATE HEADER : Update(%s,%s) File(%s,%s)\n", offer.strOfferedName, offer.strOfferedVersion,
               offer.strProgramName, offer.strProgramVersion);
    if (!offer.IsNewer())
        return false;
    if (!silent) {
        const QString title = Format(u" v%s Update now is available", offer.strOfferedVersion);
        const QString text = Format(u"An update of %s is now available. Proceed with the update?", offer.strProgramName);
        if (MessagePrompt().AskYesNo(title, text) != EPromptAnswer::Yes)
            return false;
    }
    return true;
}

} // namespace velmora
