#include "verify/StreamSink.h"

#include "platform/SequentialFile.h"

#include <cstring>

namespace velmora {

namespace {

// One spare buffer per thread: the files of a verification are read one after another on
// each thread, and a fresh megabyte for each would be zeroed and faulted in anew every time.
thread_local std::vector<char> t_spare;

} // namespace

CStreamWindow::CStreamWindow()
{
    m_buffer.swap(t_spare);
}

CStreamWindow::~CStreamWindow()
{
    if (t_spare.capacity() < m_buffer.capacity())
        t_spare.swap(m_buffer);
}

std::span<char> CStreamWindow::Space()
{
    const qsizetype kept = m_end - m_begin;
    if (m_begin > 0) {
        if (kept > 0)
            std::memmove(m_buffer.data(), m_buffer.data() + m_begin, size_t(kept));
        m_begin = 0;
        m_end = kept;
    }
    if (qsizetype(m_buffer.size()) < kept + kBlockSize)
        m_buffer.resize(size_t(kept + kBlockSize));
    return std::span<char>(m_buffer.data() + m_end, m_buffer.size() - size_t(m_end));
}

bool CStreamWindow::Drain(IStreamSink &sink, bool atEnd)
{
    const QByteArrayView held(m_buffer.data() + m_begin, m_end - m_begin);
    const qsizetype taken = qBound(qsizetype(0), sink.Feed(held, atEnd), held.size());
    m_begin += taken;
    if (atEnd) {
        m_begin = m_end = 0;
        return true;
    }
    return taken > 0 || held.isEmpty();
}

bool PumpFile(CSequentialFile &file, IStreamSink &sink)
{
    CStreamWindow window;
    for (;;) {
        const std::span<char> space = window.Space();
        const qint64 got = file.Read(space.data(), qint64(space.size()));
        if (got < 0)
            return false;
        if (got == 0)
            break;
        window.Commit(got);
        window.Drain(sink, false);
    }
    window.Drain(sink, true);
    return true;
}

} // namespace velmora
