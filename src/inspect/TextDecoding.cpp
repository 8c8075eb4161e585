#include "inspect/TextDecoding.h"

namespace velmora {

QString Utf8ToWide(QByteArrayView bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.size() > kMaxDecodedText) {
        qsizetype cut = kMaxDecodedText;
        if (text.at(cut - 1).isHighSurrogate())
            --cut;
        text.truncate(cut);
    }
    return text.size() < 2 ? QString() : text;
}

int GuessCodePage(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 byte = quint8(bytes.at(i));
        if (byte <= 128)
            continue;
        const bool korean = i + 1 < bytes.size() && byte > 175 && quint8(bytes.at(i + 1)) > 160;
        return korean ? 949 : 1252;
    }
    return 1252;
}

} // namespace velmora
