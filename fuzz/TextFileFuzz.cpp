// The line reader of text files in its three encodings. It reads files only, so each input
// goes to a scratch file first.
#include "fuzz/FuzzTargets.h"

#include "fuzz/ScratchFile.h"
#include "base/StdioFileEx.h"

#include <QStringList>

namespace velmora::fuzz {

using namespace Qt::Literals::StringLiterals;

namespace {

// All lines of the open file; false when a line breaks the reader's promises.
bool ReadAllLines(CStdioFileEx &file, qsizetype fileSize, QStringList &lines)
{
    QString line;
    while (file.ReadString(line)) {
        if (line.size() > CStdioFileEx::kMaxLineUnits || line.contains(u'\n') || lines.size() > fileSize)
            return false;
        lines.append(line);
    }
    return file.GetPosition() <= fileSize;
}

} // namespace

bool FuzzTextFile(QByteArrayView data)
{
    const QString path = WriteScratchFile(u"text.txt"_s, data);
    if (path.isEmpty())
        return true; // no scratch file, nothing to learn about the reader
    const int encoding = CStdioFileEx::GetFileEncoding(path);
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::modeRead | CStdioFileEx::typeText))
        return false;
    if (encoding != (file.IsUnicode() ? 1 : file.GetCodePage() == 65001 ? 65001 : 0))
        return false;
    QStringList first;
    QStringList second;
    if (!ReadAllLines(file, data.size(), first))
        return false;
    // Reading again from the start gives the same lines.
    file.Seek(0, CStdioFileEx::begin);
    return ReadAllLines(file, data.size(), second) && first == second;
}

} // namespace velmora::fuzz
