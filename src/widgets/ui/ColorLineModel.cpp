#include "widgets/ui/ColorLineModel.h"

namespace velmora {

CColorLineModel::CColorLineModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void CColorLineModel::AddLine(const QString &text, quint32 colour)
{
    m_lines.push_back({text, colour});
    if (m_bShowScheduled)
        return;
    m_bShowScheduled = true;
    QMetaObject::invokeMethod(this, &CColorLineModel::ShowPendingLines, Qt::QueuedConnection);
}

void CColorLineModel::ShowPendingLines()
{
    m_bShowScheduled = false;
    const int count = LineCount();
    if (count <= m_shown)
        return;
    beginInsertRows({}, m_shown, count - 1);
    m_shown = count;
    endInsertRows();
}

void CColorLineModel::Clear()
{
    beginResetModel();
    m_lines.clear();
    m_lines.shrink_to_fit();
    m_shown = 0;
    endResetModel();
}

QString CColorLineModel::LineText(int row) const
{
    return row >= 0 && row < LineCount() ? m_lines[size_t(row)].strText : QString();
}

quint32 CColorLineModel::LineColour(int row) const
{
    return row >= 0 && row < LineCount() ? m_lines[size_t(row)].nColour : 0;
}

int CColorLineModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

QVariant CColorLineModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown)
        return {};
    const SLine &line = m_lines[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return line.strText;
    case ColourRole:
        return line.nColour;
    default:
        return {};
    }
}

} // namespace velmora
