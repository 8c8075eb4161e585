#pragma once

#include "base/TraceSink.h"

#include <QWidget>

namespace velmora {

class CColorListBox;

// The lower pane of the main window: every run-log line, time-stamped, in the colour of its
// kind, the newest selected so that the pane follows the run. Lines are kept as they come
// and shown in blocks whenever the window runs (or at ShowPendingLines()).
class CTraceView : public QWidget, public ITraceSink
{
    Q_OBJECT
public:
    static constexpr int kLineLimit = 1023;

    explicit CTraceView(QWidget *parent);

    void AddLine(int kind, const QString &text);
    void ShowPendingLines();
    void Clear();
    // Every line added, shown yet or not.
    int LineCount() const;
    QString LineText(int row) const;
    quint32 LineColour(int row) const;
    // The selected line once every line added is shown.
    int SelectedLine();

    // The run logs' sink while the window lives.
    void AddTraceLine(const QString &line, int kind) override { AddLine(kind, line); }

    static quint32 ColourOfKind(int kind);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void TakePaneColours();

    CColorListBox *m_list;
};

} // namespace velmora
