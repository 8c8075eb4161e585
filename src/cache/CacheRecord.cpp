#include "cache/CacheRecord.h"

#include <bit>
#include <cstring>

namespace velmora {

void CCacheRecordWriter::PutInt(qint64 value)
{
    const quint64 bits = quint64(value);
    for (int i = 0; i < 8; ++i)
        m_bytes.append(char((bits >> (8 * i)) & 0xFF));
}

void CCacheRecordWriter::PutDouble(double value)
{
    PutInt(std::bit_cast<qint64>(value));
}

void CCacheRecordWriter::PutBytes(QByteArrayView bytes)
{
    PutInt(bytes.size());
    m_bytes.append(bytes);
}

void CCacheRecordWriter::PutString(const QString &text)
{
    PutBytes(QByteArrayView(reinterpret_cast<const char *>(text.utf16()), text.size() * 2));
}

void CCacheRecordWriter::PutStrings(const QStringList &texts)
{
    PutInt(texts.size());
    for (const QString &text : texts)
        PutString(text);
}

qint64 CCacheRecordReader::GetInt()
{
    const quint64 low = m_reader.Get_L4();
    const quint64 high = m_reader.Get_L4();
    return qint64(low | (high << 32));
}

bool CCacheRecordReader::GetBool()
{
    return GetIntIn(0, 1) != 0;
}

qint64 CCacheRecordReader::GetIntIn(qint64 low, qint64 high)
{
    const qint64 value = GetInt();
    if (value < low || value > high) {
        m_ok = false;
        return low;
    }
    return value;
}

double CCacheRecordReader::GetDouble()
{
    return std::bit_cast<double>(GetInt());
}

// A count of items that each take at least smallestItem bytes cannot exceed what is left.
qsizetype CCacheRecordReader::GetCount(qsizetype smallestItem)
{
    return qsizetype(GetIntIn(0, m_reader.Remaining() / smallestItem));
}

QByteArray CCacheRecordReader::GetBytes()
{
    const qsizetype count = GetCount(1);
    return m_ok ? m_reader.Get_Bytes(count).toByteArray() : QByteArray();
}

QString CCacheRecordReader::GetString()
{
    const QByteArray bytes = GetBytes();
    if (bytes.size() % 2 != 0) {
        m_ok = false;
        return {};
    }
    QString text(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(text.data(), bytes.constData(), size_t(bytes.size()));
    return text;
}

QStringList CCacheRecordReader::GetStrings()
{
    constexpr qsizetype kSmallestString = 8; // its length alone
    const qsizetype count = GetCount(kSmallestString);
    QStringList texts;
    if (!m_ok)
        return texts;
    texts.reserve(count);
    for (qsizetype i = 0; i < count && !Failed(); ++i)
        texts.append(GetString());
    return texts;
}

} // namespace velmora
