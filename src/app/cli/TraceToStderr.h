#pragma once

#include "base/TraceSink.h"

namespace velmora {

class CProgressLine;

// The command line's trace pane: every run-log line on stderr, coloured by kind when
// stderr is a terminal.
class CTraceToStderr final : public ITraceSink
{
public:
    CTraceToStderr();
    void AddTraceLine(const QString &line, int kind) override;
    // Trace lines are written above the progress line: it is taken away first and redrawn
    // at its next update.
    void SetProgressLine(CProgressLine *line) { m_progress = line; }

private:
    bool m_bColour = false;
    CProgressLine *m_progress = nullptr;
};

} // namespace velmora
