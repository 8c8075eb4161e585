#pragma once

#include <QListView>
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

class CColorLineModel;

// A list of lines, each in its own colour (0x00BBGGRR kept under ColourRole). New lines are
// shown in blocks (see CColorLineModel); the newest shown line is selected and scrolled to.
class CColorListBox : public QListView
{
    Q_OBJECT
public:
    static constexpr int ColourRole = Qt::UserRole + 1;

    explicit CColorListBox(QWidget *parent);
    void AddColouredLine(const QString &text, quint32 colour);
    // Shows the lines added since the last block now instead of when the event loop runs.
    void ShowPendingLines();
    void Clear();
    int LineCount() const;
    QString LineText(int row) const;
    quint32 LineColour(int row) const;
    int CurrentLine() const;
    // The colour a line of `colour` is drawn in, neither selected nor disabled: its own, made
    // readable on the list's background where it is not.
    QColor ShownColour(quint32 colour) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void SelectLastLine();

    CColorLineModel *m_lines;
};

} // namespace velmora
