#include "rescan/PackedStreams.h"

#include <zstd.h>

#include <memory>
#include <utility>

namespace velmora {

namespace {

constexpr int kLevel = 1;
// Frames of level 1 use windows far below this; a larger one is not ours.
constexpr int kWindowLogMax = 24;

ZSTD_CCtx *Compressor(void *context)
{
    return static_cast<ZSTD_CCtx *>(context);
}

} // namespace

CPacker::CPacker()
{
    ZSTD_CCtx *context = ZSTD_createCCtx();
    m_context = context;
    m_bFailed = !context || ZSTD_isError(ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, kLevel))
        || ZSTD_isError(ZSTD_CCtx_setParameter(context, ZSTD_c_checksumFlag, 1));
}

CPacker::~CPacker()
{
    ZSTD_freeCCtx(Compressor(m_context));
}

bool CPacker::Pump(QByteArrayView bytes, bool end)
{
    ZSTD_inBuffer input{bytes.data(), size_t(bytes.size()), 0};
    const qsizetype step = qsizetype(ZSTD_CStreamOutSize());
    while (true) {
        const qsizetype used = m_packed.size();
        m_packed.resize(used + step);
        ZSTD_outBuffer output{m_packed.data() + used, size_t(step), 0};
        const size_t left = ZSTD_compressStream2(Compressor(m_context), &output, &input, end ? ZSTD_e_end : ZSTD_e_continue);
        m_packed.resize(used + qsizetype(output.pos));
        if (ZSTD_isError(left))
            return false;
        if (end ? left == 0 : input.pos == input.size)
            return true;
    }
}

void CPacker::Add(QByteArrayView bytes)
{
    m_nBytesIn += bytes.size();
    if (!m_bFailed && !bytes.isEmpty())
        m_bFailed = !Pump(bytes, false);
}

QByteArray CPacker::Finish()
{
    if (m_bFailed || !Pump({}, true))
        return {};
    m_packed.squeeze();
    return std::exchange(m_packed, QByteArray());
}

bool UnpackChunks(QByteArrayView packed, qint64 expectedSize, const std::function<bool(QByteArrayView)> &sink,
                  qsizetype chunkBytes)
{
    if (chunkBytes <= 0 || expectedSize < 0)
        return false;
    const std::unique_ptr<ZSTD_DCtx, size_t (*)(ZSTD_DCtx *)> context(ZSTD_createDCtx(), &ZSTD_freeDCtx);
    if (!context || ZSTD_isError(ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, kWindowLogMax)))
        return false;
    ZSTD_inBuffer input{packed.data(), size_t(packed.size()), 0};
    QByteArray chunk(chunkBytes, Qt::Uninitialized);
    qint64 total = 0;
    while (true) {
        ZSTD_outBuffer output{chunk.data(), size_t(chunkBytes), 0};
        const size_t left = ZSTD_decompressStream(context.get(), &output, &input);
        if (ZSTD_isError(left))
            return false;
        total += qint64(output.pos);
        if (total > expectedSize)
            return false;
        if (output.pos > 0 && !sink(QByteArrayView(chunk).first(qsizetype(output.pos))))
            return false;
        if (left == 0) // the frame ended and its checksum was right
            return input.pos == input.size && total == expectedSize;
        if (input.pos == input.size && output.pos < output.size) // cut short
            return false;
    }
}

} // namespace velmora
