#pragma once

#include "base/StdioFileEx.h"
#include <QString>

namespace velmora {

// One run-log file: created empty, then appended to line by line as UTF-16 LE, with the
// byte-order mark in front of the first line that goes into an empty file. Every line is
// flushed at once so an editor opened on the log sees everything written so far.
class CRunLogFile
{
public:
    // Creates (or truncates) the file; false when it cannot be written.
    bool Create(const QString &path);
    void Close();
    bool IsOpen() const { return m_file.IsOpen(); }
    void Append(const QString &text);

private:
    CStdioFileEx m_file;
};

} // namespace velmora
