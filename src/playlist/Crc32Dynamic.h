#pragma once

#include <QByteArrayView>
#include <QString>

namespace velmora {

// The standard CRC-32 (reflected polynomial 0xEDB88320, initial value and final complement
// all ones), computed piece by piece so that a file of any size is read in blocks.
class CCrc32Dynamic
{
public:
    void Init() { m_crc = 0; }
    void Update(QByteArrayView bytes);
    quint32 Value() const { return m_crc; }

    static quint32 Crc32(QByteArrayView bytes);
    // The CRC-32 of the whole file; false when it cannot be opened or read to its end.
    static bool FileCrc32(const QString &path, quint32 &crc);

private:
    quint32 m_crc = 0;
};

} // namespace velmora
