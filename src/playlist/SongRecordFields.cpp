#include "playlist/SongRecordFields.h"

#include <QStringList>

#include <limits>

namespace velmora {

namespace {

constexpr qsizetype kSettingsValues = 9;
constexpr qsizetype kByteValues = 6;
constexpr qsizetype kDurationSlot = 8;

// The decimal digits at the start of a text; 0 without any. Saturates rather than overflows.
int LeadingDigits(QStringView text)
{
    qint64 value = 0;
    for (qsizetype i = 0; i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 0x80; ++i)
        value = std::min<qint64>(std::numeric_limits<int>::max(), value * 10 + (text.at(i).unicode() - u'0'));
    return int(value);
}

// An integer of the settings list: optional blanks and sign, then digits, like atoi.
qint64 SettingsValue(QStringView text)
{
    text = text.trimmed();
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.sliced(1);
    const qint64 value = LeadingDigits(text);
    return negative ? -value : value;
}

quint16 SlotValue(qsizetype slot, qint64 value)
{
    if (slot < kByteValues)
        return quint16(qint16(qint8(quint8(value & 0xFF))));
    return quint16(value & 0xFFFF);
}

void FillSettingsSlots(QStringView list, _ITEMINFO &item)
{
    list = list.trimmed();
    if (list.startsWith(u'['))
        list = list.sliced(1);
    if (list.endsWith(u']'))
        list.chop(1);
    if (list.trimmed().isEmpty())
        return;
    const QList<QStringView> values = list.split(u',');
    const qsizetype count = std::min(kSettingsValues, values.size());
    for (qsizetype slot = 0; slot < count; ++slot)
        item.anSettings[size_t(slot)] = SlotValue(slot, SettingsValue(values.at(slot)));
    if (count > kDurationSlot)
        item.nDuration = item.anSettings[size_t(kDurationSlot)];
}

} // namespace

void ParseSettings(const QString &field, _ITEMINFO &item)
{
    // The memo ends at the first ")" after its "("; without one it runs to the end.
    const qsizetype open = field.indexOf(u'(');
    QStringView memo;
    QStringView customer;
    if (open >= 0) {
        const qsizetype close = field.indexOf(u')', open + 1);
        memo = close < 0 ? QStringView(field).sliced(open + 1) : QStringView(field).sliced(open + 1, close - open - 1);
        if (close >= 0)
            customer = QStringView(field).sliced(close + 1).trimmed();
    }
    FillSettingsSlots(open < 0 ? QStringView(field) : QStringView(field).first(open), item);
    item.szMemo = memo.trimmed();
    if (!customer.isEmpty())
        item.szType = customer;
}

void DecodeTrackText(const QString &text, _ITEMINFO &item)
{
    const qsizetype first = text.indexOf(u'-');
    if (first < 0)
        return;
    item.nTrack = LeadingDigits(text);
    const qsizetype second = text.indexOf(u'-', first + 1);
    if (second < 0) {
        item.szGenre.Clear();
        item.nYear = LeadingDigits(QStringView(text).sliced(first + 1));
        return;
    }
    item.szGenre = QStringView(text).sliced(first + 1, second - first - 1);
    item.nYear = LeadingDigits(QStringView(text).sliced(second + 1));
}

} // namespace velmora
