#include "base/StdioFileEx.h"

#include "base/TextConversion.h"
#include "platform/CodePage.h"
#include "platform/OpenFile.h"
#include "platform/PrivateFolder.h"

#include <QtEndian>

namespace velmora {

namespace {

constexpr qint64 kReadBlock = 64 * 1024;
const QByteArray kUtf16Mark("\xFF\xFE", 2);
const QByteArray kUtf8Mark("\xEF\xBB\xBF", 3);

std::unique_ptr<QFile> OpenForWriting(const QString &path, quint32 flags)
{
    const bool create = (flags & CStdioFileEx::modeCreate) != 0;
    if (create && (flags & CStdioFileEx::modeFresh))
        return CreateFreshFile(path);
    const bool truncate = create && !(flags & CStdioFileEx::modeNoTruncate);
    return OpenFileForWrite(path, create, truncate, (flags & CStdioFileEx::modeReadWrite) != 0);
}

QByteArray Utf16LittleEndian(const QString &text)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data());
    return bytes;
}

} // namespace

bool CStdioFileEx::Open(const QString &path, quint32 flags)
{
    Close();
    m_bUnicode = (flags & modeWriteUnicode) != 0;
    m_nFlags = (flags & ~quint32(typeText)) | typeBinary;
    const bool writing = (flags & (modeWrite | modeReadWrite | modeCreate)) != 0;
    m_file = writing ? OpenForWriting(path, m_nFlags) : OpenFileForRead(path);
    if (!m_file)
        return false;
    m_bAtStart = true;
    if (writing)
        return true;
    const QByteArray head = m_file->peek(3);
    m_bUnicode = head.startsWith(kUtf16Mark);
    if (!m_bUnicode && head.startsWith(kUtf8Mark))
        m_nCodePage = kUtf8CodePage;
    return true;
}

void CStdioFileEx::Close()
{
    m_file.reset();
    m_buffer.clear();
    m_bufferPos = 0;
    m_bufferStart = 0;
}

qint64 CStdioFileEx::GetPosition() const
{
    return m_file ? m_bufferStart + m_bufferPos : 0;
}

qint64 CStdioFileEx::Seek(qint64 offset, ESeekOrigin origin)
{
    if (!m_file)
        return -1;
    const qint64 base = origin == begin ? 0 : origin == current ? GetPosition() : m_file->size();
    const qint64 target = std::max<qint64>(0, base + offset);
    m_buffer.clear();
    m_bufferPos = 0;
    m_bufferStart = target;
    m_file->seek(target);
    m_bAtStart = true;
    return target;
}

bool CStdioFileEx::FillBuffer()
{
    m_bufferStart += m_bufferPos;
    m_buffer = m_file->read(kReadBlock);
    m_bufferPos = 0;
    return !m_buffer.isEmpty();
}

bool CStdioFileEx::ReadUnit(char16_t &unit)
{
    // A unit may straddle two blocks; an odd last byte is dropped.
    quint8 bytes[2];
    for (quint8 &byte : bytes) {
        if (m_bufferPos >= m_buffer.size() && !FillBuffer())
            return false;
        byte = quint8(m_buffer.at(m_bufferPos++));
    }
    unit = char16_t(bytes[0] | (bytes[1] << 8));
    return true;
}

void CStdioFileEx::SkipMarkAtStart()
{
    if (!m_bAtStart || GetPosition() != 0)
        return;
    const qint64 markSize = m_bUnicode ? 2 : m_nCodePage == kUtf8CodePage ? 3 : 0;
    for (qint64 i = 0; i < markSize; ++i) {
        if (m_bufferPos >= m_buffer.size() && !FillBuffer())
            return;
        ++m_bufferPos;
    }
}

QString CStdioFileEx::ReadUnicodeLine(bool &gotAny)
{
    QString line;
    char16_t unit = 0;
    while (line.size() < kMaxLineUnits && ReadUnit(unit)) {
        gotAny = true;
        if (unit == u'\n')
            break;
        line.append(QChar(unit));
    }
    return line;
}

QString CStdioFileEx::ReadNarrowLine(bool &gotAny)
{
    QByteArray bytes;
    while (bytes.size() < kMaxLineUnits) {
        if (m_bufferPos >= m_buffer.size() && !FillBuffer())
            break;
        gotAny = true;
        const qsizetype newline = m_buffer.indexOf('\n', m_bufferPos);
        const qsizetype stop = newline < 0 ? m_buffer.size() : newline;
        const qsizetype take = std::min(stop - m_bufferPos, kMaxLineUnits - bytes.size());
        bytes.append(m_buffer.constData() + m_bufferPos, take);
        m_bufferPos += take;
        if (newline >= 0 && m_bufferPos == newline) {
            ++m_bufferPos;
            break;
        }
    }
    return ToWide(m_nCodePage, bytes);
}

bool CStdioFileEx::ReadString(QString &line)
{
    line.clear();
    if (!m_file)
        return false;
    SkipMarkAtStart();
    bool gotAny = false;
    line = m_bUnicode ? ReadUnicodeLine(gotAny) : ReadNarrowLine(gotAny);
    if (line.endsWith(u'\r'))
        line.chop(1);
    m_bAtStart = false;
    return gotAny;
}

bool CStdioFileEx::WriteString(const QString &text)
{
    if (!m_file)
        return false;
    QByteArray bytes;
    if (m_bWriteMark && GetPosition() == 0 && m_file->pos() == 0) {
        if (m_nFlags & modeWriteUnicode)
            bytes = kUtf16Mark;
        else if (m_nCodePage == kUtf8CodePage)
            bytes = kUtf8Mark;
    }
    if (m_nFlags & modeWriteUnicode)
        bytes.append(Utf16LittleEndian(text));
    else
        bytes.append(ToNarrow(m_nCodePage, text));
    const bool written = m_file->write(bytes) == bytes.size();
    m_bufferStart = m_file->pos();
    return written;
}

bool CStdioFileEx::WriteBytes(QByteArrayView bytes)
{
    if (!m_file)
        return false;
    const bool written = m_file->write(bytes.data(), bytes.size()) == bytes.size();
    m_bufferStart = m_file->pos();
    return written;
}

bool CStdioFileEx::Flush()
{
    return m_file && m_file->flush();
}

int CStdioFileEx::GetFileEncoding(const QString &path)
{
    const auto file = OpenFileForRead(path);
    if (!file)
        return 0;
    const QByteArray head = file->read(3);
    if (head.startsWith(kUtf16Mark))
        return 1;
    return head.startsWith(kUtf8Mark) ? kUtf8CodePage : 0;
}

} // namespace velmora
