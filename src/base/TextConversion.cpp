#include "base/TextConversion.h"

#include "platform/CodePage.h"

namespace velmora {

QString ToWide(int codePage, const QByteArray &bytes)
{
    if (codePage == kUtf8CodePage)
        return QString::fromUtf8(bytes);
    return DecodeCodePage(bytes, codePage).normalized(QString::NormalizationForm_C);
}

QByteArray ToNarrow(int codePage, const QString &text)
{
    if (codePage == kUtf8CodePage)
        return text.toUtf8();
    return EncodeCodePage(text.normalized(QString::NormalizationForm_C), codePage);
}

} // namespace velmora
