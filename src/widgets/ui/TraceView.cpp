#include "widgets/ui/TraceView.h"

#include "widgets/ui/ColorListBox.h"

#include <QEvent>
#include <QFontDatabase>

namespace velmora {

CTraceView::CTraceView(QWidget *parent)
    : QWidget(parent)
    , m_list(new CColorListBox(this))
{
    TakePaneColours();
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    m_list->show();
}

quint32 CTraceView::ColourOfKind(int kind)
{
    switch (kind) {
    case 1: return 0x008200;
    case 2: return 0xFF0000;
    case 3: return 0x0000FF;
    default: return 0x000000;
    }
}

void CTraceView::AddLine(int kind, const QString &text)
{
    m_list->AddColouredLine(text.left(kLineLimit), ColourOfKind(kind));
}

void CTraceView::ShowPendingLines()
{
    m_list->ShowPendingLines();
}

void CTraceView::Clear()
{
    m_list->Clear();
}

int CTraceView::LineCount() const
{
    return m_list->LineCount();
}

QString CTraceView::LineText(int row) const
{
    return m_list->LineText(row);
}

quint32 CTraceView::LineColour(int row) const
{
    return m_list->LineColour(row);
}

int CTraceView::SelectedLine()
{
    m_list->ShowPendingLines();
    return m_list->CurrentLine();
}

// The pane is drawn in the button face of the look in use, and follows a change of look.
void CTraceView::TakePaneColours()
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    m_list->setPalette(colours);
}

void CTraceView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        TakePaneColours();
}

void CTraceView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_list->setGeometry(0, 0, width(), height());
}

} // namespace velmora
