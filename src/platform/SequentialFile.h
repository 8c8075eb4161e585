#pragma once

#include <QString>
#include <QtGlobal>

namespace velmora {

// A regular file read once from start to end in large blocks, by its program-side name
// (NativeName.h). Opening never blocks on a pipe or a device and refuses anything that is
// not a regular file; the kernel is told the reads are sequential so it reads ahead.
class CSequentialFile
{
public:
    CSequentialFile() = default;
    ~CSequentialFile();
    CSequentialFile(const CSequentialFile &) = delete;
    CSequentialFile &operator=(const CSequentialFile &) = delete;

    // 0, or an errno value (EINVAL for a file that is not a regular file).
    int Open(const QString &path);
    bool IsOpen() const { return m_fd >= 0; }
    // The size when the file was opened.
    qint64 Size() const { return m_size; }
    // Fills up to size bytes; the count read (0 at the end), or -1 on a read error.
    qint64 Read(char *buffer, qint64 size);
    void Close();

private:
    int m_fd = -1;
    qint64 m_size = 0;
};

} // namespace velmora
