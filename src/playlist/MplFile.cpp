#include "playlist/MplFile.h"

#include "inspect/FileBytes.h"
#include "platform/MessagePrompt.h"
#include "platform/MessagePump.h"
#include "playlist/ArchiveString.h"
#include "playlist/KlovPlaylist.h"
#include "playlist/RevItemList.h"

#include <algorithm>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char16_t kVersion1[] = u"klovmplfile";
constexpr char16_t kRevision2[] = u"klovmplrev2";
constexpr qint32 kRowsPerPump = 1024;

void ShowProblem(const char16_t *text)
{
    MessagePrompt().ShowMessage(QString::fromUtf16(text));
}

// Reads count records of fieldCount strings each and hands each to add; false when the
// data ends inside one.
template <typename AddRecord>
bool ReadRecords(CRevItemList &grid, CByteReader &reader, int fieldCount, AddRecord add)
{
    const qint32 count = qint32(reader.Get_L4());
    if (!reader.Ok())
        return false;
    // A record takes at least one byte per string: the count cannot claim more rows than
    // the bytes left could hold, so the rows are made room for once.
    const qint64 possible = reader.Remaining() / fieldCount;
    grid.Rows().Preallocate(int(std::min<qint64>(grid.GetItemCount() + qint64(std::max(count, 0)),
                                                 grid.GetItemCount() + possible)));
    QStringList fields;
    for (qint32 k = 0; k < count; ++k) {
        // Long loads keep the interface live and show their rows as they come.
        if (k % kRowsPerPump == kRowsPerPump - 1) {
            grid.FlushRowBatch();
            PumpMessages();
        }
        fields.clear();
        for (int f = 0; f < fieldCount; ++f) {
            const std::optional<QString> text = ReadArchiveString(reader);
            if (!text)
                return false;
            fields.append(*text);
        }
        add(fields);
    }
    return true;
}

} // namespace

bool LoadMplFile(CRevItemList &grid, const QString &path)
{
    const std::optional<QByteArray> bytes = ReadWholeFile(path, kMaxMplBytes);
    if (!bytes) {
        ShowProblem(kCannotLoadPlaylist);
        return false;
    }
    CByteReader reader(*bytes);
    const QString magic = ReadArchiveString(reader).value_or(QString());
    bool complete = false;
    struct SBatch
    {
        CRevItemList &grid;
        ~SBatch() { grid.EndRowBatch(); }
    } batch{grid};
    grid.BeginRowBatch();
    if (magic == QStringView(kVersion1)) {
        complete = ReadRecords(grid, reader, 2, [&grid](const QStringList &f) { grid.AddSongFile(f.at(0), f.at(1)); });
    } else if (magic == QStringView(kRevision2)) {
        complete = ReadRecords(grid, reader, 5, [&grid](const QStringList &f) {
            grid.AddSongRecord(f.at(0), f.at(1), f.at(2), f.at(3), f.at(4), {}, {}, {});
        });
    } else {
        ShowProblem(kInvalidMplFile);
        return false;
    }
    if (!complete) {
        ShowProblem(kTruncatedMplFile);
        return false;
    }
    grid.SetPlaylist(path, 0);
    return true;
}

} // namespace velmora
