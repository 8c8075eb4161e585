// Narrow texts: the code-page guess, UTF-8 decoding and the code-page conversions.
#include "fuzz/FuzzTargets.h"

#include "inspect/TextDecoding.h"
#include "platform/CodePage.h"
#include "base/TextConversion.h"

namespace velmora::fuzz {

bool FuzzTextDecoding(QByteArrayView data)
{
    const int codePage = GuessCodePage(data);
    if ((codePage == 0) != data.isEmpty() || (codePage != 0 && codePage != 949 && codePage != 1252))
        return false;
    const QString text = Utf8ToWide(data);
    if (text.size() == 1 || text.size() > kMaxDecodedText)
        return false;
    return text.isEmpty() || !text.back().isHighSurrogate();
}

// The first byte picks the code page, the rest is the text.
bool FuzzTextConversion(QByteArrayView data)
{
    static constexpr int kCodePages[] = {kUtf8CodePage, kAnsiCodePage, 1252, 949, 932, 437};
    if (data.isEmpty())
        return true;
    const int codePage = kCodePages[quint8(data.front()) % std::size(kCodePages)];
    const QByteArray bytes = data.sliced(1).toByteArray();
    const QString text = ToWide(codePage, bytes);
    if (codePage == kUtf8CodePage && text.size() > bytes.size())
        return false;
    const QByteArray narrow = ToNarrow(codePage, text);
    // Every character comes back as at least one byte, "#" for those the code page lacks.
    return narrow.size() >= text.size() / 2;
}

} // namespace velmora::fuzz
