#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace velmora {

// Reads little- and big-endian fields from untrusted bytes. Every read is checked against
// the end of the data: a read that does not fit leaves the value at 0, marks the reader as
// failed and moves nowhere, so a parser can read a whole header and test Ok() once.
class CByteReader
{
public:
    explicit CByteReader(QByteArrayView data) : m_data(data) {}

    qsizetype Position() const { return m_pos; }
    qsizetype Remaining() const { return m_data.size() - m_pos; }
    bool Ok() const { return m_ok; }

    void Seek(qsizetype position)
    {
        if (position < 0 || position > m_data.size())
            m_ok = false;
        else
            m_pos = position;
    }
    void Skip(qsizetype count) { Seek(count >= 0 && count <= Remaining() ? m_pos + count : -1); }

    quint8 Get_B1() { return quint8(Fetch(1)); }
    quint16 Get_B2() { return quint16(Fetch(2)); }
    quint32 Get_B4() { return quint32(Fetch(4)); }
    quint16 Get_L2() { return quint16(FetchLittle(2)); }
    quint32 Get_L4() { return quint32(FetchLittle(4)); }

    // The next count bytes, or an empty view (and a failed reader) when fewer remain.
    QByteArrayView Get_Bytes(qsizetype count)
    {
        if (count < 0 || count > Remaining()) {
            m_ok = false;
            return {};
        }
        const QByteArrayView bytes = m_data.sliced(m_pos, count);
        m_pos += count;
        return bytes;
    }

    // True when the bytes at position equal text; never reads outside the data.
    bool HasAt(qsizetype position, QByteArrayView text) const
    {
        return position >= 0 && text.size() <= m_data.size() - position
            && m_data.sliced(position, text.size()) == text;
    }

private:
    quint64 Fetch(int count)
    {
        const QByteArrayView bytes = Get_Bytes(count);
        quint64 value = 0;
        for (const char byte : bytes)
            value = (value << 8) | quint8(byte);
        return value;
    }
    quint64 FetchLittle(int count)
    {
        const QByteArrayView bytes = Get_Bytes(count);
        quint64 value = 0;
        for (qsizetype i = bytes.size(); i > 0; --i)
            value = (value << 8) | quint8(bytes.at(i - 1));
        return value;
    }

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    bool m_ok = true;
};

} // namespace velmora
