#include "check/ui/InPlaceEdit.h"

#include <QAbstractScrollArea>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QToolTip>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QWidget *EditParent(QWidget *list)
{
    if (auto *area = qobject_cast<QAbstractScrollArea *>(list))
        return area->viewport();
    return list;
}

bool IsRefused(const QString &typed)
{
    return typed.contains(u';') || typed.contains(u'|');
}

// Keys the editor keeps even when a shortcut of the window would take them.
bool IsEditorKey(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return true;
    default:
        return (key->modifiers() & Qt::ControlModifier) != 0;
    }
}

} // namespace

CInPlaceEdit::CInPlaceEdit(QWidget *list, int row, int column, const QString &initialText)
    : QLineEdit(EditParent(list)), m_list(list), m_nRow(row), m_nColumn(column), m_strInitialText(initialText)
{
    setFont(list->font());
    setText(initialText);
    selectAll();
}

bool CInPlaceEdit::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && IsEditorKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CInPlaceEdit::showEvent(QShowEvent *event)
{
    QLineEdit::showEvent(event);
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void CInPlaceEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        m_bCancelled = true;
        EndEdit();
        ReturnFocus();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EndEdit();
        ReturnFocus();
        return;
    default:
        break;
    }
    if (IsRefused(event->text())) {
        const QString refusal = u"Characters '|' and ';' are not allowed"_s;
        setToolTip(refusal);
        QToolTip::showText(mapToGlobal(QPoint(0, height())), refusal, this);
        return;
    }
    QLineEdit::keyPressEvent(event);
    if (!event->text().isEmpty())
        WidenToText();
}

void CInPlaceEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // The editor's own context menu takes the focus for a moment; that is not the end.
    if (event->reason() != Qt::PopupFocusReason)
        EndEdit();
}

void CInPlaceEdit::EndEdit()
{
    if (m_bEnded)
        return;
    m_bEnded = true;
    const QString edited = m_bCancelled ? QString() : text().left(kMaxTextLength);
    emit EditEnded(m_nRow, m_nColumn, edited, m_bCancelled);
    hide();
    deleteLater();
}

// Only after Enter or Escape: when the focus went elsewhere, it stays there.
void CInPlaceEdit::ReturnFocus()
{
    if (m_list)
        m_list->setFocus(Qt::OtherFocusReason);
}

void CInPlaceEdit::WidenToText()
{
    const int wanted = QFontMetrics(m_list->font()).horizontalAdvance(text()) + 5;
    if (width() >= wanted)
        return;
    const int room = parentWidget() ? parentWidget()->width() - x() : wanted;
    resize(qMax(width(), qMin(wanted, room)), height());
}

} // namespace velmora
