#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

namespace velmora {

// Packs bytes given piece by piece into one Zstandard frame with its checksum, fast rather
// than small: what is kept of a check is mostly repeated text.
class CPacker
{
public:
    CPacker();
    ~CPacker();
    CPacker(const CPacker &) = delete;
    CPacker &operator=(const CPacker &) = delete;

    void Add(QByteArrayView bytes);
    // The whole frame; empty when packing failed. Called once.
    QByteArray Finish();
    qint64 BytesIn() const { return m_nBytesIn; }

private:
    bool Pump(QByteArrayView bytes, bool end);

    void *m_context = nullptr;
    QByteArray m_packed;
    qint64 m_nBytesIn = 0;
    bool m_bFailed = false;
};

// Unpacks one frame, handing the bytes to sink in chunks of at most chunkBytes. True when
// the frame was whole (its checksum right), ended at the last byte given and unpacked to
// exactly expectedSize bytes; sink may have been given part of it either way. sink returns
// false to give up. A frame that asks for more than a small window of memory is refused.
bool UnpackChunks(QByteArrayView packed, qint64 expectedSize, const std::function<bool(QByteArrayView)> &sink,
                  qsizetype chunkBytes = 256 * 1024);

} // namespace velmora
