#pragma once

#include "base/TraceSink.h"

namespace velmora {

// The command line's trace pane: every run-log line on stderr, coloured by kind when
// stderr is a terminal.
class CTraceToStderr final : public ITraceSink
{
public:
    CTraceToStderr();
    void AddTraceLine(const QString &line, int kind) override;

private:
    bool m_bColour = false;
};

} // namespace velmora
