#pragma once

#include <QListWidget>
#include <QStyledItemDelegate>

namespace velmora {

// Draws each line of a CColorListBox in the colour stored with it: highlighted text on the
// highlight when selected, grey when disabled, the line's own colour otherwise.
class CColorItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// A list of lines, each in its own colour (0x00BBGGRR kept under ColourRole).
class CColorListBox : public QListWidget
{
    Q_OBJECT
public:
    static constexpr int ColourRole = Qt::UserRole + 1;

    explicit CColorListBox(QWidget *parent);
    void AddColouredLine(const QString &text, quint32 colour);
    quint32 LineColour(int row) const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace velmora
