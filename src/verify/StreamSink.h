#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <span>
#include <vector>

namespace velmora {

class CSequentialFile;

// A reader of a byte stream that is handed the stream in order, one window at a time.
// Feed returns how many bytes from the start of data it is done with; the rest is handed
// to it again, followed by more bytes. With atEnd it must take everything.
class IStreamSink
{
public:
    virtual ~IStreamSink() = default;
    virtual qsizetype Feed(QByteArrayView data, bool atEnd) = 0;
};

// The bytes between reads of a stream: new bytes go in at the end, a sink takes from the
// start, and what it leaves is moved to the front before the next read. Its size is one
// block plus what sinks keep back, so memory does not grow with the stream.
class CStreamWindow
{
public:
    static constexpr qsizetype kBlockSize = 1024 * 1024;

    CStreamWindow();
    ~CStreamWindow();
    CStreamWindow(const CStreamWindow &) = delete;
    CStreamWindow &operator=(const CStreamWindow &) = delete;
    // Room for at least one block after the bytes kept.
    std::span<char> Space();
    void Commit(qsizetype count) { m_end += count; }
    // Hands the bytes held to sink; false when it took nothing although it could.
    bool Drain(IStreamSink &sink, bool atEnd);

private:
    std::vector<char> m_buffer;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
};

// Reads an open file from its current position to its end through sink, one block at a
// time; false on a read error (sink has then seen only part of the file).
bool PumpFile(CSequentialFile &file, IStreamSink &sink);

} // namespace velmora
