#pragma once

#include <QAbstractListModel>

#include <vector>

namespace velmora {

// The lines of a CColorListBox, each with its colour (0x00BBGGRR). Lines are kept at once
// but announced to the view in blocks: a run adds thousands of lines a second, and a view
// that lays out, selects and repaints per line spends more time on that than the run.
class CColorLineModel : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int ColourRole = Qt::UserRole + 1;

    explicit CColorLineModel(QObject *parent = nullptr);

    // Keeps the line and announces it with the others added meanwhile when the event loop
    // next runs, or at ShowPendingLines().
    void AddLine(const QString &text, quint32 colour);
    // Announces every line not announced yet, in one insertion.
    void ShowPendingLines();
    void Clear();

    // Every line added, announced or not.
    int LineCount() const { return int(m_lines.size()); }
    QString LineText(int row) const;
    quint32 LineColour(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    struct SLine
    {
        QString strText;
        quint32 nColour = 0;
    };

    std::vector<SLine> m_lines;
    int m_shown = 0;
    bool m_bShowScheduled = false;
};

} // namespace velmora
