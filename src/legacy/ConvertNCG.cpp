#include "legacy/ConvertNCG.h"

#include "base/ByteReader.h"
#include "inspect/FileBytes.h"
#include "legacy/NcgContent.h"

#include <algorithm>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr quint16 kFreshVersion = 1;

} // namespace

CConvertNCG::CConvertNCG()
{
    const QByteArrayView tag("KLOVNCG");
    std::copy(tag.begin(), tag.end(), m_header.begin());
    // Where the version sits in a file is not read by the conversion; a fresh header keeps
    // it as a 16-bit value after the zero-padded tag.
    m_header[8] = char(kFreshVersion & 0xFF);
    m_header[9] = char(kFreshVersion >> 8);
}

quint16 CConvertNCG::ContentType() const
{
    CByteReader reader(Header());
    reader.Seek(14);
    return reader.Get_L2();
}

bool CConvertNCG::Fail(const QString &errorText)
{
    m_errorText = errorText;
    return false;
}

bool CConvertNCG::Convert(const QString &path, std::span<char> buffer, qsizetype &outLength)
{
    m_errorText.clear();
    if (path.isEmpty())
        return Fail(u"Source path is empty."_s);
    if (!HasNcgExtension(path))
        return false;
    const qint64 size = FileSizeOf(path);
    if (size < 0)
        return Fail(u"Source file open error."_s);
    // No block is taken for more than the caller can receive: a larger file is refused as
    // one whose block could not be had, before anything is read.
    const qint64 limit = kContentOffset + qint64(buffer.size());
    if (size > limit)
        return Fail(u"Memory allocation failure."_s);
    std::optional<QByteArray> file = ReadWholeFile(path, limit);
    if (!file)
        return Fail(u"Source file open error."_s);
    return ConvertLoaded(*file, buffer, outLength);
}

bool CConvertNCG::ConvertBytes(QByteArrayView file, std::span<char> buffer, qsizetype &outLength)
{
    m_errorText.clear();
    if (file.size() > kContentOffset + qsizetype(buffer.size()))
        return Fail(u"Memory allocation failure."_s);
    QByteArray copy = file.toByteArray();
    return ConvertLoaded(copy, buffer, outLength);
}

bool CConvertNCG::ConvertLoaded(QByteArray &file, std::span<char> buffer, qsizetype &outLength)
{
    // Shorter than its header: there is no content whose size could be given.
    if (file.size() < kContentOffset)
        return false;
    std::copy_n(file.cbegin(), kHeaderSize, m_header.begin());
    QByteArray content = file.sliced(kContentOffset);
    file.clear();
    if (!RestoreNcgContent(content))
        return false;
    if (ContentType() == kContentMcg && !content.startsWith("KLOVMC"))
        return false;
    if (content.size() > qsizetype(buffer.size()))
        return false;
    std::copy(content.cbegin(), content.cend(), buffer.begin());
    outLength = content.size();
    return true;
}

bool HasNcgExtension(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot >= 0 && path.sliced(dot).toLower() == u".ncg"_s;
}

} // namespace velmora
