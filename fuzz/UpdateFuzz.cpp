// Update manifests and the version marker of files come from the network.
#include "fuzz/FuzzTargets.h"

#include "fuzz/ScratchFile.h"
#include "update/ProfileFile.h"
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
