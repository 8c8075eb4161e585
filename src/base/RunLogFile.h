#pragma once

#include "base/StdioFileEx.h"
#include <QString>

#include <utility>

namespace velmora {

// One run-log file: created empty, then appended to as UTF-16 LE, with the byte-order mark
// in front of the first line that goes into an empty file. Lines gather as pending text
// and are written in blocks; the owner decides when (see CRunLogs) and keeps the pending
// text and the file under separate locks, so a block can be written while more gathers.
class CRunLogFile
{
public:
    // Creates (or truncates) the file; false when it cannot be written.
    bool Create(const QString &path);
    // Writes what is pending, then closes.
    void Close();
    bool IsOpen() const { return m_file.IsOpen(); }

    void Append(const QString &text);
    qsizetype PendingSize() const { return m_pending.size(); }
    QString TakePending() { return std::exchange(m_pending, QString()); }
    // Writes a block of lines to the file's end.
    void Write(const QString &block);
    // Writes a file's bytes as an earlier run left them to the file's end; false when the
    // file is closed or writing failed.
    bool WriteBytes(QByteArrayView bytes);

private:
    CStdioFileEx m_file;
    QString m_pending;
};

} // namespace velmora
