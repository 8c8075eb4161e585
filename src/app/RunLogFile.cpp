#include "app/RunLogFile.h"

namespace velmora {

bool CRunLogFile::Create(const QString &path)
{
    Close();
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
}

void CRunLogFile::Close()
{
    if (m_file.isOpen())
        m_file.close();
}

void CRunLogFile::Append(const QString &text)
{
    if (!m_file.isOpen())
        return;
    // Another program may have truncated the file meanwhile; the end is asked for each time.
    const qint64 end = m_file.size();
    m_file.seek(end);
    QByteArray bytes;
    bytes.reserve(text.size() * 2 + 2);
    if (end == 0)
        bytes.append("\xFF\xFE", 2);
    for (const QChar unit : text) {
        bytes.append(char(unit.unicode() & 0xFF));
        bytes.append(char(unit.unicode() >> 8));
    }
    m_file.write(bytes);
    m_file.flush();
}

} // namespace velmora
