// MP3 images: the frame-header estimate of the playing time, and the tags.
#include "fuzz/FuzzTargets.h"

#include "base/ByteReader.h"
#include "inspect/Mp3Analysis.h"

namespace velmora::fuzz {

using namespace Qt::Literals::StringLiterals;

namespace {

// Slot 0 is a count of seconds, the frame-sync error text, or empty.
bool IsDurationText(const QString &text)
{
    bool number = false;
    const qint64 seconds = text.toLongLong(&number);
    return text.isEmpty() || text == u"Error MP3FRAMEHEADER"_s || (number && seconds >= 0);
}

} // namespace

bool FuzzMp3(QByteArrayView data)
{
    // The audio byte count of a file the analysis would read, taken from the first bytes.
    CByteReader reader(data);
    const qint64 audioBytes = qint64(reader.Get_L4()) % (kMaxAnalysedFileSize + 1);
    if (!IsDurationText(EstimateMp3Duration(data.first(qMin<qsizetype>(data.size(), 1024)), audioBytes)))
        return false;
    QStringList result;
    const bool tagged = ReadMp3ImageTags(data, result);
    const bool version2 = data.size() >= 10 && data.startsWith("ID3");
    const qsizetype expected = version2 ? 10 : tagged ? 9 : 3;
    return result.size() == expected && tagged == (expected > 3) && IsDurationText(result.front());
}

} // namespace velmora::fuzz
