#include "widgets/ui/ColorListBox.h"

#include "widgets/ui/ColorLineModel.h"
#include "widgets/ui/ColorRef.h"
#include "widgets/ui/ReadableColours.h"

#include <QPainter>
#include <QStyle>

namespace velmora {

void CColorItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const bool enabled = option.state.testFlag(QStyle::State_Enabled);
    painter->save();
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
    const QColor base = option.palette.color(QPalette::Base);
    QColor text = ReadableOn(ColorFromColorRef(index.data(CColorListBox::ColourRole).toUInt()), base);
    if (selected)
        text = option.palette.color(QPalette::HighlightedText);
    else if (!enabled)
        text = DisabledOn(text, base);
    painter->setPen(text);
    painter->setFont(option.font);
    const QString line = index.data(Qt::DisplayRole).toString();
    painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine
                      | Qt::TextExpandTabs, line);
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.rect = option.rect;
        focus.state = option.state;
        focus.backgroundColor = option.palette.color(QPalette::Base);
        option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
    painter->restore();
}

// Every line is as high as a menu check mark, and wide enough for its whole text.
QSize CColorItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QStyle *style = option.widget ? option.widget->style() : nullptr;
    const int mark = style ? style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget) : 0;
    const int height = std::max(mark, option.fontMetrics.height());
    const int width = option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 4;
    return {width, height};
}

CColorListBox::CColorListBox(QWidget *parent)
    : QListView(parent)
    , m_lines(new CColorLineModel(this))
{
    static_assert(ColourRole == CColorLineModel::ColourRole);
    setModel(m_lines);
    setItemDelegate(new CColorItemDelegate(this));
    setUniformItemSizes(true); // long runs add hundreds of thousands of lines
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_lines, &QAbstractItemModel::rowsInserted, this, &CColorListBox::SelectLastLine);
}

void CColorListBox::AddColouredLine(const QString &text, quint32 colour)
{
    m_lines->AddLine(text, colour);
}

void CColorListBox::ShowPendingLines()
{
    m_lines->ShowPendingLines();
}

QColor CColorListBox::ShownColour(quint32 colour) const
{
    return ReadableOn(ColorFromColorRef(colour), palette().color(QPalette::Base));
}

void CColorListBox::Clear()
{
    m_lines->Clear();
}

int CColorListBox::LineCount() const
{
    return m_lines->LineCount();
}

QString CColorListBox::LineText(int row) const
{
    return m_lines->LineText(row);
}

quint32 CColorListBox::LineColour(int row) const
{
    return m_lines->LineColour(row);
}

int CColorListBox::CurrentLine() const
{
    return currentIndex().row();
}

// Once per block: selecting and scrolling per line would lay out and repaint per line.
void CColorListBox::SelectLastLine()
{
    const QModelIndex last = m_lines->index(m_lines->rowCount() - 1);
    setCurrentIndex(last);
    scrollTo(last);
}

// An empty list that has the focus shows a focus rectangle where its first line would be.
void CColorListBox::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    if (m_lines->rowCount() != 0 || !hasFocus())
        return;
    QPainter painter(viewport());
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = QRect(0, 0, viewport()->width(), fontMetrics().height());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

} // namespace velmora
