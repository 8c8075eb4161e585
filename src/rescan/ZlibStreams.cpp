#include "rescan/ZlibStreams.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace velmora {

namespace {

// zlib counts in unsigned int; larger inputs go in slices.
constexpr qsizetype kSliceMax = std::numeric_limits<int>::max() / 2;
constexpr qsizetype kPackedStep = 256 * 1024;

} // namespace

struct CDeflater::SState
{
    z_stream stream{};
};

CDeflater::CDeflater() : m_state(std::make_unique<SState>())
{
    m_bFailed = deflateInit(&m_state->stream, Z_BEST_SPEED) != Z_OK;
}

CDeflater::~CDeflater()
{
    if (!m_bFailed)
        deflateEnd(&m_state->stream);
}

bool CDeflater::Pump(QByteArrayView bytes, int flush)
{
    z_stream &stream = m_state->stream;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
    stream.avail_in = uInt(bytes.size());
    while (true) {
        const qsizetype used = m_packed.size();
        m_packed.resize(used + kPackedStep);
        stream.next_out = reinterpret_cast<Bytef *>(m_packed.data() + used);
        stream.avail_out = uInt(kPackedStep);
        const int result = deflate(&stream, flush);
        m_packed.resize(used + kPackedStep - qsizetype(stream.avail_out));
        if (result == Z_STREAM_END)
            return true;
        if (result != Z_OK && result != Z_BUF_ERROR)
            return false;
        if (stream.avail_in == 0 && stream.avail_out != 0 && flush == Z_NO_FLUSH)
            return true;
    }
}

void CDeflater::Add(QByteArrayView bytes)
{
    m_nBytesIn += bytes.size();
    while (!m_bFailed && !bytes.isEmpty()) {
        const qsizetype slice = std::min(bytes.size(), kSliceMax);
        m_bFailed = !Pump(bytes.first(slice), Z_NO_FLUSH);
        bytes = bytes.sliced(slice);
    }
}

QByteArray CDeflater::Finish()
{
    if (m_bFailed || !Pump({}, Z_FINISH))
        return {};
    m_packed.squeeze();
    return std::exchange(m_packed, QByteArray());
}

bool InflateChunks(QByteArrayView packed, qint64 expectedSize, const std::function<bool(QByteArrayView)> &sink,
                   qsizetype chunkBytes)
{
    if (packed.size() > kSliceMax || chunkBytes <= 0 || chunkBytes > kSliceMax || expectedSize < 0)
        return false;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.data()));
    stream.avail_in = uInt(packed.size());
    QByteArray chunk(chunkBytes, Qt::Uninitialized);
    qint64 total = 0;
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef *>(chunk.data());
        stream.avail_out = uInt(chunkBytes);
        result = inflate(&stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END)
            break;
        const qsizetype produced = chunkBytes - qsizetype(stream.avail_out);
        total += produced;
        if (total > expectedSize || (produced > 0 && !sink(QByteArrayView(chunk).first(produced)))) {
            result = Z_DATA_ERROR;
            break;
        }
        if (result == Z_OK && produced == 0) // no progress: the stream is cut short
            result = Z_BUF_ERROR;
    }
    const bool whole = result == Z_STREAM_END && stream.avail_in == 0 && total == expectedSize;
    inflateEnd(&stream);
    return whole;
}

} // namespace velmora
