#include "playlist/RevItemList.h"

#include "base/Format.h"
#include "platform/Settings.h"
#include "playlist/RevListObserver.h"

#include <QRegularExpression>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kMaxColumnWidth = 10000;

bool ValidColumn(int column)
{
    return column >= 0 && column < kRevColumnCount;
}

} // namespace

int CRevItemList::ColumnWidth(int column) const
{
    return ValidColumn(column) ? m_widths[size_t(column)] : 0;
}

void CRevItemList::SetColumnWidth(int column, int width)
{
    if (ValidColumn(column))
        m_widths[size_t(column)] = std::clamp(width, 0, kMaxColumnWidth);
}

bool CRevItemList::IsColumnShown(int column) const
{
    return ValidColumn(column) && m_shown[size_t(column)];
}

void CRevItemList::SetColumnOrder(const std::array<int, kRevColumnCount> &order)
{
    std::array<bool, kRevColumnCount> seen{};
    for (const int column : order) {
        if (!ValidColumn(column) || seen[size_t(column)])
            return; // not a permutation: the order stays as it was
        seen[size_t(column)] = true;
    }
    m_order = order;
}

void CRevItemList::NotifyColumns()
{
    if (m_observer)
        m_observer->OnColumnsChanged();
}

void CRevItemList::ShowColumn(int column, bool shown)
{
    if (!ValidColumn(column))
        return;
    const size_t c = size_t(column);
    if (shown) {
        m_widths[c] = m_rememberedWidths[c];
    } else {
        m_rememberedWidths[c] = m_widths[c];
        m_widths[c] = 0;
    }
    m_shown[c] = shown;
    NotifyColumns();
}

void CRevItemList::AutoSizeColumns()
{
    if (m_bAutoSize && m_observer) {
        for (int column = kRevFirstAutoSized; column <= kRevLastAutoSized; ++column)
            m_observer->OnAutoSizeColumn(column);
    }
    for (int column = 0; column < kRevColumnCount; ++column) {
        // An auto-sized hidden column keeps its fitted width for when it is shown again.
        if (!m_shown[size_t(column)] && m_widths[size_t(column)] != 0) {
            m_rememberedWidths[size_t(column)] = m_widths[size_t(column)];
            m_widths[size_t(column)] = 0;
        }
    }
    NotifyColumns();
}

void CRevItemList::ResetColumns()
{
    for (int column = 0; column < kRevColumnCount; ++column) {
        const size_t c = size_t(column);
        m_order[c] = column;
        m_widths[c] = RevColumn(column).nDefaultWidth;
        if (m_rememberedWidths[c] == 0)
            m_rememberedWidths[c] = m_widths[c];
        if (!m_shown[c]) {
            m_widths[c] = m_rememberedWidths[c];
            m_shown[c] = true;
        }
    }
    m_bAutoSize = true;
    AutoSizeColumns();
}

QString CRevItemList::ColumnLayoutKey() const
{
    return Format(u"CRevListView/ColumnHeaderCtrl%02d", m_nLayoutNumber);
}

QString CRevItemList::ColumnLayoutValue() const
{
    QString value = Format(u"(%d,%d) :", kRevColumnCount, m_bAutoSize ? 1 : 0);
    for (int j = 0; j < kRevColumnCount; ++j) {
        const size_t c = size_t(j);
        const int width = m_shown[c] ? m_widths[c] : RevColumn(j).nDefaultWidth;
        value += Format(u" %d,%d,%d", m_shown[c] ? 1 : 0, m_order[c], width);
    }
    return value;
}

// "(20,1) : 1,0,0 1,1,60 ..." (or "[" for the header form, whose content is the same).
// A value with another column count, or one that does not parse whole, is ignored.
bool CRevItemList::ApplyColumnLayoutValue(const QString &value)
{
    static const QRegularExpression head(uR"(^\s*[\(\[]\s*(\d+)\s*,\s*(\d+)\s*[\)\]]\s*:(.*)$)"_s);
    static const QRegularExpression group(uR"(^(\d+),(\d+),(\d+)$)"_s);
    const QRegularExpressionMatch match = head.match(value);
    if (!match.hasMatch() || match.captured(1).toInt() != kRevColumnCount)
        return false;
    const QStringList groups = match.captured(3).split(u' ', Qt::SkipEmptyParts);
    if (groups.size() != kRevColumnCount)
        return false;
    std::array<bool, kRevColumnCount> shown{};
    std::array<int, kRevColumnCount> order{};
    std::array<int, kRevColumnCount> widths{};
    for (int j = 0; j < kRevColumnCount; ++j) {
        const QRegularExpressionMatch parts = group.match(groups.at(j));
        if (!parts.hasMatch())
            return false;
        shown[size_t(j)] = parts.captured(1).toInt() != 0;
        order[size_t(j)] = parts.captured(2).toInt();
        widths[size_t(j)] = parts.captured(3).toInt();
    }
    m_bAutoSize = match.captured(2).toInt() != 0;
    for (int j = 0; j < kRevColumnCount; ++j)
        SetColumnWidth(j, widths[size_t(j)]);
    SetColumnOrder(order);
    for (int j = 0; j < kRevColumnCount; ++j) {
        if (shown[size_t(j)] != m_shown[size_t(j)])
            ShowColumn(j, shown[size_t(j)]);
    }
    NotifyColumns();
    return true;
}

void CRevItemList::SaveColumnLayout() const
{
    OpenSettings()->setValue(ColumnLayoutKey(), ColumnLayoutValue());
}

void CRevItemList::RestoreColumnLayout()
{
    const QString value = OpenSettings()->value(ColumnLayoutKey()).toString();
    if (!value.isEmpty())
        ApplyColumnLayoutValue(value);
}

} // namespace velmora
