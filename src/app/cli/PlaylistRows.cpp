#include "app/cli/PlaylistRows.h"

#include "app/DisplayWidth.h"
#include "app/cli/RowWriter.h"
#include "platform/NativeName.h"
#include "playlist/RevItemList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// Keys and the grid column each comes from; -1 for the ones that are not cells.
struct SKey
{
    const char16_t *szName;
    int nColumn;
};

constexpr SKey kKeys[] = {
    {u"index", 1},    {u"title", 2},     {u"artist", 3},   {u"album", 4},    {u"track", 5},
    {u"genre", 6},    {u"year", 7},      {u"memo", 8},     {u"volume", 9},   {u"pitch", 10},
    {u"tempo", 11},   {u"vocal", 12},    {u"sync", 13},    {u"silence", 14}, {u"onTime", 15},
    {u"offTime", 16}, {u"duration", 17}, {u"files", 18},   {u"folder", -1},  {u"customer", 19},
};

struct SRowText
{
    QStringList keys;
    QStringList values;
    bool bFound = false;
};

SRowText RowText(CRevItemList &grid, int row, const QStringList &suggestions)
{
    SRowText text;
    const _ITEMINFO *item = grid.GetRow(row);
    text.bFound = item && (item->dwFlags & REV_FOUND);
    if (grid.KeepsSongNumbers() && !grid.SongNumbers().isEmpty()) {
        text.keys.append(u"number"_s);
        text.values.append(grid.SongNumber(row));
    }
    for (const SKey &key : kKeys) {
        text.keys.append(QString::fromUtf16(key.szName));
        text.values.append(key.nColumn < 0 ? PrintableNativeName(grid.RowAt(row).szPath, false)
                                           : grid.GetCellText(row, key.nColumn));
    }
    if (!suggestions.isEmpty()) {
        text.keys.append(u"suggestion"_s);
        text.values.append(suggestions.value(row));
    }
    return text;
}

QByteArray WriteJson(CRevItemList &grid, int rows, const QStringList &suggestions)
{
    QJsonArray array;
    for (int i = 0; i < rows; ++i) {
        const SRowText text = RowText(grid, i, suggestions);
        QJsonObject object;
        for (qsizetype k = 0; k < text.keys.size(); ++k)
            object.insert(text.keys.at(k), text.values.at(k));
        object.insert(u"found"_s, text.bFound);
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

QByteArray WriteCsv(CRevItemList &grid, int rows, const QStringList &suggestions)
{
    QString out;
    for (int i = 0; i < rows; ++i) {
        const SRowText text = RowText(grid, i, suggestions);
        if (i == 0)
            out += text.keys.join(u',') + u",found\n"_s;
        QStringList fields;
        for (const QString &value : text.values)
            fields.append(CsvField(value));
        out += fields.join(u',') + (text.bFound ? u",yes\n"_s : u",no\n"_s);
    }
    return out.toUtf8();
}

// A short table a person reads: number or index, title, artist, duration, files, folder
// and whether the file was found, with the suggestion under a missing row.
QByteArray WriteText(CRevItemList &grid, int rows, const QStringList &suggestions)
{
    const bool numbers = grid.KeepsSongNumbers() && !grid.SongNumbers().isEmpty();
    QList<QStringList> table{{numbers ? u"Number"_s : u"Index"_s, u"Title"_s, u"Artist"_s, u"Duration"_s,
                              u"Filename"_s, u"Folder"_s, u"Found"_s}};
    QStringList hints{QString()};
    for (int i = 0; i < rows; ++i) {
        const _ITEMINFO *item = grid.GetRow(i);
        const bool found = item && (item->dwFlags & REV_FOUND);
        table.append({numbers ? grid.SongNumber(i) : grid.GetCellText(i, 1), grid.GetCellText(i, 2),
                      grid.GetCellText(i, 3), grid.GetCellText(i, 17), grid.GetCellText(i, 18),
                      PrintableNativeName(grid.RowAt(i).szPath, false), found ? u"yes"_s : u"MISSING"_s});
        hints.append(suggestions.value(i));
    }
    // Columns line up as a terminal shows them (wide characters take two columns).
    QList<int> widths(table.first().size(), 0);
    for (const QStringList &row : std::as_const(table))
        for (qsizetype c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(row.at(c)));
    QString out;
    for (qsizetype r = 0; r < table.size(); ++r) {
        QString line;
        for (qsizetype c = 0; c < table.at(r).size(); ++c)
            line += c + 1 < table.at(r).size() ? PadToDisplayWidth(table.at(r).at(c), widths[c]) + u"  "_s
                                               : table.at(r).at(c);
        out += line + u'\n';
        if (!hints.at(r).isEmpty())
            out += u"    perhaps: "_s + hints.at(r) + u'\n';
    }
    return out.toUtf8();
}

} // namespace

QByteArray WritePlaylistRows(CRevItemList &grid, EOutputFormat format, const QStringList &suggestions, int rowCount)
{
    const int rows = rowCount < 0 ? grid.GetItemCount() : std::min(rowCount, grid.GetItemCount());
    switch (format) {
    case EOutputFormat::Json: return WriteJson(grid, rows, suggestions);
    case EOutputFormat::Csv: return WriteCsv(grid, rows, suggestions);
    case EOutputFormat::Text: break;
    }
    return WriteText(grid, rows, suggestions);
}

} // namespace velmora
