#include "base/RunLogFile.h"

namespace velmora {

bool CRunLogFile::Create(const QString &path)
{
    Close();
    return m_file.Open(path, CStdioFileEx::modeCreate | CStdioFileEx::modeWrite | CStdioFileEx::modeWriteUnicode);
}

void CRunLogFile::Close()
{
    Write(TakePending());
    m_file.Close();
}

void CRunLogFile::Append(const QString &text)
{
    if (m_file.IsOpen())
        m_pending.append(text);
}

void CRunLogFile::Write(const QString &block)
{
    if (block.isEmpty() || !m_file.IsOpen())
        return;
    // Another program may have emptied the file meanwhile; writing goes to its end, and an
    // empty file gets its mark again.
    m_file.Seek(0, CStdioFileEx::end);
    m_file.WriteString(block);
    m_file.Flush();
}

bool CRunLogFile::WriteBytes(QByteArrayView bytes)
{
    if (!m_file.IsOpen())
        return false;
    m_file.Seek(0, CStdioFileEx::end);
    return m_file.WriteBytes(bytes) && m_file.Flush();
}

} // namespace velmora
