#include "app/cli/RowWriter.h"

#include "app/DisplayWidth.h"
#include "base/Format.h"
#include "check/DirItemList.h"
#include "platform/NativeName.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

const QStringList kKeys{u"fileName"_s, u"path"_s, u"type"_s, u"title"_s, u"artist"_s, u"album"_s,
                        u"genre"_s, u"year"_s, u"track"_s, u"duration"_s, u"result"_s, u"mark"_s,
                        u"checked"_s, u"folder"_s, u"detailsLoaded"_s};

// Names and paths as they are on disk: the whole path, and every byte that is not UTF-8
// written "\xHH" (with "\" itself written "\\"), so the text names exactly one file.
QString PrintedName(const QString &name)
{
    return PrintableNativeName(name, true);
}

QString FirstName(const _ITEMINFO &item)
{
    return item.FileNames().value(0);
}

QString Marker(const _ITEMINFO &item)
{
    if (item.MarkClass() == 0)
        return item.IsChecked() ? u"[x]"_s : QString();
    return item.IsChecked() ? u"[x]"_s : u"[ ]"_s;
}

QStringList TextCells(const _ITEMINFO &item)
{
    return {Marker(item), PrintableNativeName(FirstName(item), false), item.szType, item.szTitle, item.szArtist, item.szAlbum,
            DurationText(item.nDuration), item.szResult};
}

QByteArray WriteText(const CDirItemList &list)
{
    QList<QStringList> table;
    table.append({QString(), list.ColumnHeader(0), list.ColumnHeader(1), list.ColumnHeader(2),
                  list.ColumnHeader(3), list.ColumnHeader(4), list.ColumnHeader(5), list.ColumnHeader(6)});
    for (const _ITEMINFO &item : list.m_items)
        table.append(TextCells(item));
    // Columns are as wide as a terminal draws their cells, not as their UTF-16 lengths.
    QList<int> widths(table.first().size(), 0);
    for (const QStringList &row : std::as_const(table))
        for (qsizetype c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(row.at(c)));
    QString out;
    for (const QStringList &row : std::as_const(table)) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line += (c + 1 < row.size() ? PadToDisplayWidth(row.at(c), widths[c]) + u"  "_s : row.at(c));
        while (line.endsWith(u' '))
            line.chop(1);
        out += line + u'\n';
    }
    return out.toUtf8();
}

QJsonObject JsonRow(const _ITEMINFO &item)
{
    return QJsonObject{
        {u"fileName"_s, PrintedName(item.szFileName)}, {u"path"_s, PrintedName(item.FullPath())},
        {u"type"_s, item.szType.Text()},         {u"title"_s, item.szTitle.Text()},
        {u"artist"_s, item.szArtist.Text()},     {u"album"_s, item.szAlbum.Text()},
        {u"genre"_s, item.szGenre.Text()},       {u"year"_s, item.nYear},
        {u"track"_s, item.nTrack},               {u"duration"_s, item.nDuration},
        {u"result"_s, item.szResult.Text()},     {u"mark"_s, item.MarkClass()},
        {u"checked"_s, item.IsChecked()},        {u"folder"_s, item.IsFolder()},
        {u"detailsLoaded"_s, item.IsDetailsLoaded()},
    };
}

QByteArray WriteJson(const CDirItemList &list)
{
    QJsonArray rows;
    for (const _ITEMINFO &item : list.m_items)
        rows.append(JsonRow(item));
    return QJsonDocument(rows).toJson(QJsonDocument::Indented);
}

QString CsvValue(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool() ? u"true"_s : u"false"_s;
    if (value.isDouble())
        return QString::number(value.toInteger());
    return CsvField(value.toString());
}

QByteArray WriteCsv(const CDirItemList &list)
{
    QString out = kKeys.join(u',') + u"\r\n"_s;
    for (const _ITEMINFO &item : list.m_items) {
        const QJsonObject row = JsonRow(item);
        QStringList cells;
        for (const QString &key : kKeys)
            cells.append(CsvValue(row.value(key)));
        out += cells.join(u',') + u"\r\n"_s;
    }
    return out.toUtf8();
}

} // namespace

QString DurationText(int seconds)
{
    if (seconds == 0)
        return {};
    return Format(u"%d:%02d", seconds / 60, seconds % 60);
}

QByteArray WriteRows(const CDirItemList &list, EOutputFormat format)
{
    switch (format) {
    case EOutputFormat::Json:
        return WriteJson(list);
    case EOutputFormat::Csv:
        return WriteCsv(list);
    case EOutputFormat::Text:
        break;
    }
    return WriteText(list);
}

QString CsvField(const QString &value)
{
    if (!value.contains(u',') && !value.contains(u'"') && !value.contains(u'\n') && !value.contains(u'\r'))
        return value;
    QString quoted = value;
    quoted.replace(u"\""_s, u"\"\""_s);
    return u'"' + quoted + u'"';
}

} // namespace velmora
