#pragma once

#include "base/StdioFileEx.h"
#include <QString>

namespace velmora {

// One run-log file: created empty, then appended to as UTF-16 LE, with the byte-order mark
// in front of the first line that goes into an empty file. Lines are gathered and written
// in blocks by Flush; the owner decides when (see CRunLogs).
class CRunLogFile
{
public:
    // Creates (or truncates) the file; false when it cannot be written.
    bool Create(const QString &path);
    // Writes what is pending, then closes.
    void Close();
    bool IsOpen() const { return m_file.IsOpen(); }
    void Append(const QString &text);
    // Writes the pending lines to the file's end.
    void Flush();
    qsizetype PendingSize() const { return m_pending.size(); }

private:
    CStdioFileEx m_file;
    QString m_pending;
};

} // namespace velmora
