#pragma once

#include <QLineEdit>
#include <QString>

namespace velmora {

// An editor laid over one cell of a list. Typed ";" and "|" (the separators of file-name
// lists and playlist records) are refused; Escape cancels; Enter or losing the focus ends the
// edit, reported once by EditEnded, after which the editor deletes itself.
class CInPlaceEdit final : public QLineEdit
{
    Q_OBJECT

public:
    static constexpr int kMaxTextLength = 259;

    // The editor becomes a child of the list's viewport (or of the list itself); the owner
    // places it over the cell and shows it.
    CInPlaceEdit(QWidget *list, int row, int column, const QString &initialText);

    int Row() const { return m_nRow; }
    int Column() const { return m_nColumn; }
    QString InitialText() const { return m_strInitialText; }

signals:
    // text is empty when cancelled.
    void EditEnded(int row, int column, const QString &text, bool cancelled);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void EndEdit();
    void ReturnFocus();
    void WidenToText();

    QWidget *m_list;
    int m_nRow;
    int m_nColumn;
    QString m_strInitialText;
    bool m_bCancelled = false;
    bool m_bEnded = false;
};

} // namespace velmora
