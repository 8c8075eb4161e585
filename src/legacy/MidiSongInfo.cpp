#include "legacy/MidiSongInfo.h"

#include "inspect/FileBytes.h"
#include "legacy/MidiStyles.h"
#include "legacy/MidiTitles.h"
#include "legacy/SmfReader.h"
#include "legacy/TempoMap.h"
#include "legacy/WrkReader.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

enum class EMidiKind { None, Standard, Kar, Work };

EMidiKind MidiKindOf(const QString &fileName)
{
    if (fileName.endsWith(u".wrk"_s, Qt::CaseInsensitive))
        return EMidiKind::Work;
    if (fileName.endsWith(u".kar"_s, Qt::CaseInsensitive))
        return EMidiKind::Kar;
    if (fileName.endsWith(u".mid"_s, Qt::CaseInsensitive))
        return EMidiKind::Standard;
    return EMidiKind::None;
}

void DecideSongInfo(MidiSongInfo &info)
{
    MeasureMidiDuration(info);
    DecideMidiStyle(info);
    DecideMidiCodePage(info);
    ConvertMidiTitles(info);
}

bool ParseMidiBytes(QByteArrayView bytes, EMidiKind kind, MidiSongInfo &info)
{
    if (kind == EMidiKind::Work)
        return ReadWorkFile(bytes, info);
    return ReadStandardMidiFile(bytes, kind == EMidiKind::Kar, info);
}

} // namespace

bool ReadMidiSongInfoFromBytes(QByteArrayView bytes, const QString &fileName, MidiSongInfo &info)
{
    // A failed read leaves nothing half-filled behind.
    info = MidiSongInfo();
    const EMidiKind kind = MidiKindOf(fileName);
    MidiSongInfo parsed;
    if (kind == EMidiKind::None || bytes.isEmpty() || !ParseMidiBytes(bytes, kind, parsed))
        return false;
    DecideSongInfo(parsed);
    if (kind == EMidiKind::Kar)
        ApplyKarFileName(parsed, fileName);
    info = std::move(parsed);
    return true;
}

bool ReadMidiSongInfo(const QString &path, MidiSongInfo &info)
{
    info = MidiSongInfo();
    if (MidiKindOf(path) == EMidiKind::None)
        return false;
    const std::optional<QByteArray> bytes = ReadWholeFile(path, kMaxMidiFileBytes);
    return bytes && ReadMidiSongInfoFromBytes(*bytes, path, info);
}

} // namespace velmora
