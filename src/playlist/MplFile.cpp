#include "playlist/MplFile.h"

#include "inspect/FileBytes.h"
#include "platform/MessagePrompt.h"
#include "platform/MessagePump.h"
#include "playlist/ArchiveString.h"
#include "playlist/KlovPlaylist.h"
#include "playlist/RevItemList.h"
#include "playlist/RowMemory.h"

#include <algorithm>
#include <array>
#include <span>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char16_t kVersion1[] = u"klovmplfile";
constexpr char16_t kRevision2[] = u"klovmplrev2";
constexpr qint32 kRowsPerPump = 1024;

// The row fields the strings of a record go to, as the most each keeps.
constexpr qsizetype kFileUnits = decltype(_ITEMINFO::szFileName)::kMaxLength;
constexpr qsizetype kFolderUnits = decltype(_ITEMINFO::szPath)::kMaxLength;
constexpr qsizetype kIndexUnits = decltype(_ITEMINFO::szIndex)::kMaxLength;
constexpr qsizetype kTitleUnits = decltype(_ITEMINFO::szTitle)::kMaxLength;
constexpr qsizetype kArtistUnits = decltype(_ITEMINFO::szArtist)::kMaxLength;
constexpr qsizetype kVersion1Fields[] = {kFileUnits, kFolderUnits};
constexpr qsizetype kRevision2Fields[] = {kFileUnits, kFolderUnits, kIndexUnits, kTitleUnits, kArtistUnits};
// Version-1 rows are numbered by the grid: "%06d" of at most the largest int.
constexpr qsizetype kNumberUnits = 10;

enum class ERecords { Complete, Truncated, OverBudget };

void ShowProblem(const char16_t *text)
{
    MessagePrompt().ShowMessage(QString::fromUtf16(text));
}

struct SRecordScan
{
    qint32 nComplete = 0; // records that end inside the data
    qint64 nRowBytes = 0; // what their rows will hold, the tags of version-1 songs aside
};

constexpr size_t kMostFields = std::size(kRevision2Fields);

// Walks the records without decoding a character: each string's length is all its row's
// memory depends on, since every text is kept at its own size (or cut to its field), and
// a string that repeats the same field of the record before is shared with it.
SRecordScan ScanRecords(CByteReader reader, qint32 count, std::span<const qsizetype> fields, bool numbered)
{
    SRecordScan scan;
    std::array<SArchiveStringSpan, kMostFields> previous{};
    for (qint32 k = 0; k < count; ++k) {
        qint64 bytes = qint64(sizeof(_ITEMINFO)) + (numbered ? TextHeapBytes(kNumberUnits) : 0);
        for (size_t f = 0; f < fields.size(); ++f) {
            const std::optional<SArchiveStringSpan> span = SkipArchiveString(reader);
            if (!span)
                return scan;
            const bool shared = k > 0 && span->SameText(previous[f]) && span->nLength <= fields[f];
            if (!shared)
                bytes += TextHeapBytes(std::min(span->nLength, fields[f]));
            previous[f] = *span;
        }
        ++scan.nComplete;
        scan.nRowBytes += bytes;
    }
    return scan;
}

// The texts of one record; a string that repeats the same field of the record before is
// not decoded again, and its row shares the text (folders and artists repeat in runs).
class CRecordTexts
{
public:
    explicit CRecordTexts(size_t fieldCount) : m_nFields(fieldCount) {}

    bool Read(CByteReader &reader)
    {
        m_texts.clear();
        for (size_t f = 0; f < m_nFields; ++f) {
            const std::optional<SArchiveStringSpan> span = SkipArchiveString(reader);
            if (!span)
                return false;
            if (!m_bHavePrevious || !span->SameText(m_previous[f])) {
                m_previous[f] = *span;
                m_previousTexts[f] = DecodeArchiveString(*span);
            }
            m_texts.append(m_previousTexts[f]);
        }
        m_bHavePrevious = true;
        return true;
    }
    const QStringList &Texts() const { return m_texts; }

private:
    size_t m_nFields;
    bool m_bHavePrevious = false;
    std::array<SArchiveStringSpan, kMostFields> m_previous{};
    std::array<QString, kMostFields> m_previousTexts;
    QStringList m_texts;
};

// Reads count records and hands each to add. Stops at a record the data ends inside, and
// before the first row when the rows would pass the budget, or as soon as they do.
template <typename AddRecord>
ERecords ReadRecords(CRevItemList &grid, CByteReader &reader, std::span<const qsizetype> fields, bool numbered,
                     qint64 budget, AddRecord add)
{
    const qint32 count = qint32(reader.Get_L4());
    if (!reader.Ok())
        return ERecords::Truncated;
    const SRecordScan scan = ScanRecords(reader, count, fields, numbered);
    if (scan.nRowBytes > budget)
        return ERecords::OverBudget;
    const int first = grid.GetItemCount();
    grid.Rows().Preallocate(first + scan.nComplete);
    qint64 held = 0;
    CRecordTexts record(fields.size());
    for (qint32 k = 0; k < count; ++k) {
        // Long loads keep the interface live and show their rows as they come.
        if (k % kRowsPerPump == kRowsPerPump - 1) {
            grid.FlushRowBatch();
            PumpMessages();
        }
        if (!record.Read(reader))
            return ERecords::Truncated;
        add(record.Texts());
        const int last = grid.GetItemCount() - 1;
        held += RowHeapBytes(grid.RowAt(last), last > first ? &grid.RowAt(last - 1) : nullptr);
        if (held > budget) {
            grid.RemoveRowsFrom(first);
            return ERecords::OverBudget;
        }
    }
    return ERecords::Complete;
}

} // namespace

bool LoadMplFile(CRevItemList &grid, const QString &path, const SMplRowBudget &budget)
{
    const std::optional<QByteArray> bytes = ReadWholeFile(path, kMaxMplBytes);
    if (!bytes) {
        ShowProblem(kCannotLoadPlaylist);
        return false;
    }
    const qint64 rowBudget = budget.For(bytes->size());
    CByteReader reader(*bytes);
    const QString magic = ReadArchiveString(reader).value_or(QString());
    ERecords result = ERecords::Truncated;
    struct SBatch
    {
        CRevItemList &grid;
        ~SBatch() { grid.EndRowBatch(); }
    } batch{grid};
    grid.BeginRowBatch();
    if (magic == QStringView(kVersion1)) {
        result = ReadRecords(grid, reader, kVersion1Fields, true, rowBudget,
                             [&grid](const QStringList &f) { grid.AddSongFile(f.at(0), f.at(1)); });
    } else if (magic == QStringView(kRevision2)) {
        result = ReadRecords(grid, reader, kRevision2Fields, false, rowBudget, [&grid](const QStringList &f) {
            grid.AddSongRecord(f.at(0), f.at(1), f.at(2), f.at(3), f.at(4), {}, {}, {});
        });
    } else {
        ShowProblem(kInvalidMplFile);
        return false;
    }
    if (result == ERecords::OverBudget) {
        ShowProblem(kCannotLoadPlaylist);
        return false;
    }
    if (result == ERecords::Truncated) {
        ShowProblem(kTruncatedMplFile);
        return false;
    }
    grid.SetPlaylist(path, 0);
    return true;
}

} // namespace velmora
