#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

namespace velmora {

// A 128-bit digest of bytes handed over in pieces, for telling equal file contents apart:
// fast enough to run over every byte read without slowing the reading.
class CContentHash
{
public:
    CContentHash();
    ~CContentHash();
    CContentHash(const CContentHash &) = delete;
    CContentHash &operator=(const CContentHash &) = delete;

    void Add(QByteArrayView bytes);
    qint64 Count() const { return m_count; }
    // 16 bytes; the digest of what was added so far.
    QByteArray Digest() const;

private:
    struct SState;
    std::unique_ptr<SState> m_state;
    qint64 m_count = 0;
};

} // namespace velmora
