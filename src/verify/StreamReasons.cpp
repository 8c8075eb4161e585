#include "verify/StreamReasons.h"

#include "verify/VerifyTexts.h"

#include <algorithm>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

SFileReason Reason(QStringView code, ESeverity severity, const QString &text)
{
    return SFileReason{code.toString(), severity, text};
}

// "(all zeros)", "(97% zeros)" when most bytes of a run are zero: a sign of a copy or download
// that never wrote them.
QString ZerosText(qint64 zeros, qint64 size)
{
    if (size <= 0 || zeros * 2 <= size)
        return {};
    return zeros == size ? u" (all zeros)"_s : u" (%1% zeros)"_s.arg(zeros * 100 / size);
}

QString StreamName(const SMpegHeader &header)
{
    return u"MPEG-%1 Layer %2, %3 Hz"_s.arg(header.nVersion == 10 ? u"1"_s : header.nVersion == 20 ? u"2"_s : u"2.5"_s)
        .arg(header.nLayer)
        .arg(header.nSampleRate);
}

QString DamagedRangeText(const SDamagedRange &range)
{
    const QString text = u"%1 bytes at byte %2 (at %3 of the audio) "_s.arg(range.nSize).arg(range.nOffset).arg(TimeText(range.dSeconds));
    if (range.bId3Tag)
        return text + u"are an ID3v2 tag inside the audio: another file was joined on here"_s;
    if (range.foreignHeader)
        return text + u"are not frames of this stream: they open with the header of another one (%1)"_s.arg(StreamName(*range.foreignHeader));
    return text + u"are not MPEG audio frames"_s + ZerosText(range.nZeros, range.nSize);
}

QList<SFileReason> DamagedReasons(const SMp3Walk &walk, const QString &prefix)
{
    QList<SFileReason> reasons;
    const qsizetype named = std::min<qsizetype>(walk.damaged.size(), kNamedDamagedRanges);
    for (qsizetype i = 0; i < named; ++i)
        reasons.append(Reason(VerifyCode::AudioDamaged, ESeverity::Broken, prefix + DamagedRangeText(walk.damaged.at(i))));
    if (walk.damaged.size() > named) {
        qint64 bytes = 0;
        for (qsizetype i = named; i < walk.damaged.size(); ++i)
            bytes += walk.damaged.at(i).nSize;
        reasons.append(Reason(VerifyCode::AudioDamaged, ESeverity::Broken,
                              prefix + u"%1 more damaged places after %2 (%3 bytes in all), the last at byte %4"_s
                                           .arg(walk.damaged.size() - named)
                                           .arg(TimeText(walk.damaged.at(named - 1).dSeconds))
                                           .arg(bytes)
                                           .arg(walk.damaged.last().nOffset)));
    }
    return reasons;
}

// The stream ends early: a cut frame, a promise of more frames, or bytes after the last frame.
std::optional<SFileReason> TruncatedReason(const SMp3Walk &walk, const QString &prefix)
{
    QStringList evidence;
    double missing = 0;
    double promisedMissing = 0;
    const double frameSeconds = walk.nSampleRate > 0 ? double(walk.nSamplesPerFrame) / walk.nSampleRate : 0.0;
    if (walk.nCutFrameOffset >= 0) {
        evidence.append(u"the stream ends inside its last frame at byte %1 (at %2), which lacks %3 of its %4 bytes"_s
                            .arg(walk.nCutFrameOffset)
                            .arg(TimeText(walk.dSeconds))
                            .arg(walk.nCutFrameMissing)
                            .arg(walk.nCutFrameLength));
        missing = std::max(missing, frameSeconds * double(walk.nCutFrameMissing) / double(std::max<qint64>(walk.nCutFrameLength, 1)));
    }
    if (walk.nDeclaredFrames >= 0 && walk.damaged.isEmpty() && walk.nDeclaredFrames > walk.nFrames + kDeclaredFrameSlack) {
        const double promised = double(walk.nDeclaredFrames) * frameSeconds;
        evidence.append(u"its stream header promises %1 frames (%2) but it holds %3 (%4)"_s
                            .arg(walk.nDeclaredFrames)
                            .arg(TimeText(promised))
                            .arg(walk.nFrames)
                            .arg(TimeText(walk.dSeconds)));
        promisedMissing = promised - walk.dSeconds;
        missing = std::max(missing, promisedMissing);
    }
    if (walk.nTrailingOffset >= 0) {
        const double estimate = walk.dBytesPerSecond > 0 ? double(walk.nTrailingSize) / walk.dBytesPerSecond : 0.0;
        evidence.append(u"the audio stops at %1 (byte %2) and the %3 bytes after it are not audio frames%4, the room of %5 of audio at its bit rate"_s
                            .arg(TimeText(walk.dSeconds))
                            .arg(walk.nTrailingOffset)
                            .arg(walk.nTrailingSize)
                            .arg(ZerosText(walk.nTrailingZeros, walk.nTrailingSize))
                            .arg(SpanText(estimate)));
        missing = std::max(missing, estimate);
    }
    if (evidence.isEmpty())
        return std::nullopt;
    const ESeverity severity = missing > kTruncatedBroken ? ESeverity::Broken : ESeverity::Warning;
    QString text = prefix + evidence.join(u"; "_s);
    if (promisedMissing > 0)
        text += u": %1 of audio missing"_s.arg(SpanText(promisedMissing));
    return Reason(VerifyCode::AudioTruncated, severity, text);
}

} // namespace

QList<SFileReason> Mp3Reasons(const SMp3Walk &walk, const QString &prefix)
{
    if (!walk.HasFrames()) {
        const QString kind = ContentKindText(walk.head);
        return {Reason(VerifyCode::AudioUnreadable, ESeverity::Broken,
                       prefix + u"no run of MPEG audio frames in its %1 bytes"_s.arg(walk.nSize)
                           + (kind.isEmpty() ? QString() : u"; it begins like "_s + kind))};
    }
    QList<SFileReason> reasons = DamagedReasons(walk, prefix);
    if (const auto truncated = TruncatedReason(walk, prefix))
        reasons.append(*truncated);
    return reasons;
}

QList<SFileReason> CdgReasons(const SCdgScan &scan, const QString &prefix)
{
    QList<SFileReason> reasons;
    if (scan.nLeftover != 0) {
        reasons.append(Reason(VerifyCode::GraphicsDamaged, ESeverity::Broken,
                              prefix + u"its %1 bytes are not a whole number of 24-byte packets: %2 bytes are left over at the end"_s
                                           .arg(scan.nSize)
                                           .arg(scan.nLeftover)));
    }
    const qint64 nonEmpty = scan.nInstructions + scan.nForeign;
    const bool mostlyForeign = scan.nForeign > 0 && 2 * scan.nForeign > nonEmpty;
    if (mostlyForeign) {
        reasons.append(Reason(VerifyCode::GraphicsDamaged, ESeverity::Broken,
                              prefix + u"%1 of its %2 packets that are not empty (%3%) are no CD+G instructions, the first at byte %4 (at %5)"_s
                                           .arg(scan.nForeign)
                                           .arg(nonEmpty)
                                           .arg(100 * scan.nForeign / nonEmpty)
                                           .arg(scan.nFirstForeignOffset)
                                           .arg(TimeText(double(scan.nFirstForeignOffset) / 7200.0))));
    } else if (scan.nDrawing == 0) {
        reasons.append(Reason(VerifyCode::GraphicsBlank, ESeverity::Broken,
                              prefix + u"none of its %1 packets draws on the screen (no tile block), so no lyrics show"_s
                                           .arg(scan.nPackets)));
    }
    return reasons;
}

} // namespace velmora
