#include "verify/VerifyTexts.h"

#include "base/Format.h"

#include <cmath>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

QString TimeText(double seconds)
{
    const qint64 whole = qint64(std::floor(std::max(seconds, 0.0)));
    return Format(u"%d:%02d", whole / 60, whole % 60);
}

QString SpanText(double seconds)
{
    if (seconds < 60.0)
        return QString::number(std::max(seconds, 0.0), 'f', 1) + u" s"_s;
    return TimeText(seconds);
}

std::optional<SFileReason> LengthMismatchReason(double graphicsSeconds, const QString &graphicsName,
                                                double audioSeconds, const QString &audioName)
{
    if (graphicsSeconds < 0 || audioSeconds < 0 || std::fabs(graphicsSeconds - audioSeconds) <= kLengthTolerance)
        return std::nullopt;
    const double early = audioSeconds - graphicsSeconds;
    SFileReason reason;
    reason.strCode = VerifyCode::LengthMismatch.toString();
    reason.severity = early > kGraphicsShortBroken ? ESeverity::Broken : ESeverity::Warning;
    reason.strText = u"the graphics (%1) run %2 and the audio (%3) %4: the graphics end %5 %6 the audio"_s.arg(
        graphicsName, TimeText(graphicsSeconds), audioName, TimeText(audioSeconds), SpanText(std::fabs(early)),
        early > 0 ? u"before"_s : u"after"_s);
    return reason;
}

QString ContentKindText(QByteArrayView head)
{
    struct SSignature
    {
        QByteArrayView mark;
        QStringView text;
    };
    static const SSignature kSignatures[] = {
        {"RIFF", u"a RIFF (WAV or AVI) file"}, {"OggS", u"an Ogg file"}, {"fLaC", u"a FLAC file"},
        {"PK\x03\x04", u"a zip package"}, {"MThd", u"a MIDI file"}, {"\x30\x26\xB2\x75", u"a WMA or WMV file"},
        {"<", u"a text or web page"}, {"KLOV", u"the maker's karaoke graphics"},
    };
    for (const SSignature &signature : kSignatures) {
        if (head.startsWith(signature.mark))
            return signature.text.toString();
    }
    if (head.size() >= 8 && head.sliced(4, 4) == "ftyp")
        return u"an MP4 or M4A file"_s;
    return {};
}

} // namespace velmora
