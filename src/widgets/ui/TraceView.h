#pragma once

#include "base/TraceSink.h"

#include <QWidget>

namespace velmora {

class CColorListBox;

// The lower pane of the main window: every run-log line, time-stamped, in the colour of its
// kind, the newest selected so that the pane follows the run.
class CTraceView : public QWidget, public ITraceSink
{
    Q_OBJECT
public:
    static constexpr int kLineLimit = 1023;

    explicit CTraceView(QWidget *parent);

    void AddLine(int kind, const QString &text);
    void Clear();
    int LineCount() const;
    QString LineText(int row) const;
    quint32 LineColour(int row) const;
    int SelectedLine() const;

    // The run logs' sink while the window lives.
    void AddTraceLine(const QString &line, int kind) override { AddLine(kind, line); }

    static quint32 ColourOfKind(int kind);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    CColorListBox *m_list;
};

} // namespace velmora
