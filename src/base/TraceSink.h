#pragma once

#include <QString>

namespace velmora {

// Receiver of the trace-pane lines: the trace pane in the window, stderr on the command line.
class ITraceSink
{
public:
    virtual ~ITraceSink() = default;
    virtual void AddTraceLine(const QString &line, int kind) = 0;
};

} // namespace velmora
