#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <memory>

namespace velmora {

// Packs bytes given piece by piece into one zlib stream, fast rather than small: what is
// kept of a check is mostly repeated text.
class CDeflater
{
public:
    CDeflater();
    ~CDeflater();
    CDeflater(const CDeflater &) = delete;
    CDeflater &operator=(const CDeflater &) = delete;

    void Add(QByteArrayView bytes);
    // The whole stream; empty when zlib failed. Called once.
    QByteArray Finish();
    qint64 BytesIn() const { return m_nBytesIn; }

private:
    bool Pump(QByteArrayView bytes, int flush);

    struct SState;
    std::unique_ptr<SState> m_state;
    QByteArray m_packed;
    qint64 m_nBytesIn = 0;
    bool m_bFailed = false;
};

// Unpacks a zlib stream, handing the bytes to sink in chunks of at most chunkBytes. True
// when the stream was whole, ended at its last byte and unpacked to exactly expectedSize
// bytes; sink may have been given part of it either way. sink returns false to give up.
bool InflateChunks(QByteArrayView packed, qint64 expectedSize, const std::function<bool(QByteArrayView)> &sink,
                   qsizetype chunkBytes = 256 * 1024);

} // namespace velmora
