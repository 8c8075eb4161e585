#pragma once

#include "base/ByteReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora {

// Writes the values of one kept result as plain little-endian fields; CCacheRecordReader
// reads them back.
class CCacheRecordWriter
{
public:
    void PutInt(qint64 value);
    void PutBool(bool value) { PutInt(value ? 1 : 0); }
    void PutDouble(double value);
    void PutBytes(QByteArrayView bytes);
    void PutString(const QString &text);
    void PutStrings(const QStringList &texts);
    const QByteArray &Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Reads what CCacheRecordWriter wrote from bytes that may be damaged: every length is held
// against the bytes left before anything is allocated, and any misfit fails the reader, so
// the caller tests Ok() once at the end (and then treats the result as not kept).
class CCacheRecordReader
{
public:
    explicit CCacheRecordReader(QByteArrayView bytes) : m_reader(bytes) {}

    qint64 GetInt();
    bool GetBool();
    // An integer that must lie in [low, high]; anything else fails the reader.
    qint64 GetIntIn(qint64 low, qint64 high);
    double GetDouble();
    QByteArray GetBytes();
    QString GetString();
    QStringList GetStrings();
    bool Failed() const { return !m_ok || !m_reader.Ok(); }
    // Read without failure and to the last byte.
    bool Ok() const { return !Failed() && m_reader.Remaining() == 0; }

private:
    qsizetype GetCount(qsizetype smallestItem);

    CByteReader m_reader;
    bool m_ok = true;
};

} // namespace velmora
