#include "app/cli/RowWriter.h"

#include "app/DisplayWidth.h"
#include "base/Format.h"
#include "check/DirItemList.h"
#include "verify/VerifyRun.h"
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
    return item.FirstFileName();
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

// The rows to write, in list order, each with its verdict when there is a report.
struct SRowsToWrite
{
    QList<int> rows;
    const SVerifyReport *report = nullptr;

    const SSongVerdict *Verdict(int row) const
    {
        return report && row < report->rows.size() ? &report->rows.at(row) : nullptr;
    }
};

bool NeedsAttention(const _ITEMINFO &item, const SSongVerdict *verdict)
{
    return item.MarkClass() != 0 || !item.szResult.IsEmpty() || (verdict && verdict->verdict != EVerdict::Ok);
}

SRowsToWrite RowsToWrite(const CDirItemList &list, const SVerifyReport *report, bool onlyProblems)
{
    SRowsToWrite rows;
    rows.report = report;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (!onlyProblems || NeedsAttention(list.Item(row), rows.Verdict(row)))
            rows.rows.append(row);
    }
    return rows;
}

QStringList HeaderCells(const CDirItemList &list, const SRowsToWrite &rows)
{
    QStringList cells{QString(), list.ColumnHeader(0), list.ColumnHeader(1), list.ColumnHeader(2),
                      list.ColumnHeader(3), list.ColumnHeader(4), list.ColumnHeader(5), list.ColumnHeader(6)};
    if (rows.report)
        cells.append(u"Verdict"_s);
    return cells;
}

// Line 0 is the header, line n the row rows.rows[n - 1].
QStringList LineCells(const CDirItemList &list, const SRowsToWrite &rows, qsizetype line)
{
    if (line == 0)
        return HeaderCells(list, rows);
    const int row = rows.rows.at(line - 1);
    QStringList cells = TextCells(list.Item(row));
    if (const SSongVerdict *verdict = rows.Verdict(row))
        cells.append(VerdictName(verdict->verdict));
    return cells;
}

// The cells are made twice, once to measure the columns and once to write them, so that
// a list of 100,000 rows never holds its whole table of texts at once.
QByteArray WriteText(const CDirItemList &list, const SRowsToWrite &rows)
{
    const qsizetype lines = rows.rows.size() + 1;
    // Columns are as wide as a terminal draws their cells, not as their UTF-16 lengths.
    QList<int> widths(HeaderCells(list, rows).size(), 0);
    for (qsizetype line = 0; line < lines; ++line) {
        const QStringList cells = LineCells(list, rows, line);
        for (qsizetype c = 0; c < cells.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(cells.at(c)));
    }
    QByteArray out;
    QString text;
    for (qsizetype line = 0; line < lines; ++line) {
        const QStringList cells = LineCells(list, rows, line);
        text.clear();
        for (qsizetype c = 0; c < cells.size(); ++c) {
            text += cells.at(c);
            if (c + 1 < cells.size())
                text.resize(text.size() + widths[c] - DisplayWidth(cells.at(c)) + 2, u' ');
        }
        while (text.endsWith(u' '))
            text.chop(1);
        text += u'\n';
        // Each reason on a line of its own under its row.
        if (const SSongVerdict *verdict = line > 0 ? rows.Verdict(rows.rows.at(line - 1)) : nullptr) {
            for (const SVerifyReason &reason : verdict->reasons)
                text += u"    "_s + ReasonLine(reason) + u'\n';
        }
        out += text.toUtf8();
    }
    return out;
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

void AddVerdict(QJsonObject &row, const SSongVerdict &verdict)
{
    QJsonArray problems;
    for (const SVerifyReason &reason : verdict.reasons) {
        problems.append(QJsonObject{{u"code"_s, reason.strCode},
                                    {u"severity"_s, SeverityName(reason.severity)},
                                    {u"text"_s, reason.strText},
                                    {u"path"_s, reason.strPath}});
    }
    row.insert(u"verdict"_s, VerdictName(verdict.verdict));
    row.insert(u"problems"_s, problems);
}

QByteArray WriteJson(const CDirItemList &list, const SRowsToWrite &rows)
{
    QJsonArray out;
    for (const int row : rows.rows) {
        QJsonObject object = JsonRow(list.Item(row));
        if (const SSongVerdict *verdict = rows.Verdict(row))
            AddVerdict(object, *verdict);
        out.append(object);
    }
    return QJsonDocument(out).toJson(QJsonDocument::Indented);
}

QString CsvValue(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool() ? u"true"_s : u"false"_s;
    if (value.isDouble())
        return QString::number(value.toInteger());
    return CsvField(value.toString());
}

QByteArray WriteCsv(const CDirItemList &list, const SRowsToWrite &rows)
{
    QString out = kKeys.join(u',') + (rows.report ? u",verdict,problems"_s : QString()) + u"\r\n"_s;
    for (const int row : rows.rows) {
        const QJsonObject object = JsonRow(list.Item(row));
        QStringList cells;
        for (const QString &key : kKeys)
            cells.append(CsvValue(object.value(key)));
        if (const SSongVerdict *verdict = rows.Verdict(row)) {
            QStringList reasons;
            for (const SVerifyReason &reason : verdict->reasons)
                reasons.append(ReasonLine(reason));
            cells.append(VerdictName(verdict->verdict));
            cells.append(CsvField(reasons.join(u" | "_s)));
        }
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

QByteArray WriteRows(const CDirItemList &list, EOutputFormat format, const SVerifyReport *report, bool onlyProblems)
{
    const SRowsToWrite rows = RowsToWrite(list, report, onlyProblems);
    switch (format) {
    case EOutputFormat::Json:
        return WriteJson(list, rows);
    case EOutputFormat::Csv:
        return WriteCsv(list, rows);
    case EOutputFormat::Text:
        break;
    }
    return WriteText(list, rows);
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
