#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

namespace velmora {

// A line-oriented text file in one of three encodings: UTF-16 LE with mark, UTF-8 with
// mark, or 8-bit text in a code page. Reading detects the encoding from the first bytes;
// writing puts the mark in front of the first text written at the start of the file.
class CStdioFileEx
{
public:
    enum EOpenFlags : quint32 {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        modeWriteUnicode = 0x200000, // the file is UTF-16 LE
        modeFresh = 0x400000,        // with modeCreate: a new file, never through a link (CreateFreshFile)
    };
    enum ESeekOrigin { begin, current, end };

    // Lines longer than this come back in pieces rather than exhausting memory.
    static constexpr qsizetype kMaxLineUnits = 16 * 1024 * 1024;

    CStdioFileEx() = default;
    CStdioFileEx(const CStdioFileEx &) = delete;
    CStdioFileEx &operator=(const CStdioFileEx &) = delete;

    bool Open(const QString &path, quint32 flags);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    // The next line without its line end (and one carriage return before it); false at the
    // end of the file.
    bool ReadString(QString &line);
    // Writes the text as it is; callers add "\r\n" themselves. False when writing failed.
    bool WriteString(const QString &text);
    // Writes bytes as they are, mark and encoding included. False when writing failed.
    bool WriteBytes(QByteArrayView bytes);
    bool Flush();
    qint64 Seek(qint64 offset, ESeekOrigin origin);
    qint64 GetPosition() const;

    bool IsUnicode() const { return m_bUnicode; }
    int GetCodePage() const { return m_nCodePage; }
    // The code page of 8-bit text (kAnsiCodePage, 65001 or another).
    void SetCodePage(int codePage) { m_nCodePage = codePage; }
    void SetWriteMark(bool writeMark) { m_bWriteMark = writeMark; }

    // 1 for UTF-16 LE with mark, 65001 for UTF-8 with mark, otherwise (or unreadable) 0.
    static int GetFileEncoding(const QString &path);

private:
    bool FillBuffer();
    bool ReadUnit(char16_t &unit);
    void SkipMarkAtStart();
    QString ReadUnicodeLine(bool &gotAny);
    QString ReadNarrowLine(bool &gotAny);

    std::unique_ptr<QFile> m_file;
    quint32 m_nFlags = 0;
    bool m_bUnicode = false;
    int m_nCodePage = -1;
    bool m_bWriteMark = true;
    bool m_bAtStart = true;
    // Read-ahead: bytes of the file from m_bufferStart on, consumed up to m_bufferPos.
    QByteArray m_buffer;
    qsizetype m_bufferPos = 0;
    qint64 m_bufferStart = 0;
};

} // namespace velmora
