#include "cache/CachedValues.h"

#include "cache/CacheRecord.h"
#include "check/MediaExamination.h"
#include "verify/FileVerify.h"

#include <limits>

namespace velmora {

namespace {

// The first field of every record names its form, so a record of one kind is never read as
// another.
constexpr qint64 kSongResultForm = 0x53'4F'4E'47'01;
constexpr qint64 kExaminationForm = 0x4D'45'44'49'01;
constexpr qint64 kFindingsForm = 0x56'45'52'49'01;
constexpr qint64 kLargestInt = std::numeric_limits<int>::max();

template <typename T>
std::optional<T> Finished(const CCacheRecordReader &reader, T value)
{
    return reader.Ok() ? std::optional<T>(std::move(value)) : std::nullopt;
}

} // namespace

QByteArray EncodeSongResult(const QStringList &result)
{
    CCacheRecordWriter writer;
    writer.PutInt(kSongResultForm);
    writer.PutStrings(result);
    return writer.Bytes();
}

std::optional<QStringList> DecodeSongResult(QByteArrayView bytes)
{
    CCacheRecordReader reader(bytes);
    if (reader.GetInt() != kSongResultForm)
        return std::nullopt;
    QStringList result = reader.GetStrings();
    return Finished(reader, std::move(result));
}

QByteArray EncodeExamination(const SMediaExamination &found)
{
    CCacheRecordWriter writer;
    writer.PutInt(kExaminationForm);
    writer.PutString(found.summaries.strGeneral);
    writer.PutString(found.summaries.strVideo);
    writer.PutString(found.summaries.strAudio);
    writer.PutString(found.summaries.strDuration);
    writer.PutString(found.identity.strGeneral);
    writer.PutString(found.identity.strFormat);
    writer.PutBool(found.identity.bAccepted);
    writer.PutInt(found.identity.nDuration);
    writer.PutStrings(found.analysis);
    writer.PutBool(found.bAnalysed);
    return writer.Bytes();
}

std::optional<SMediaExamination> DecodeExamination(QByteArrayView bytes)
{
    CCacheRecordReader reader(bytes);
    if (reader.GetInt() != kExaminationForm)
        return std::nullopt;
    SMediaExamination found;
    found.summaries.strGeneral = reader.GetString();
    found.summaries.strVideo = reader.GetString();
    found.summaries.strAudio = reader.GetString();
    found.summaries.strDuration = reader.GetString();
    found.identity.strGeneral = reader.GetString();
    found.identity.strFormat = reader.GetString();
    found.identity.bAccepted = reader.GetBool();
    found.identity.nDuration = int(reader.GetIntIn(-kLargestInt - 1, kLargestInt));
    found.analysis = reader.GetStrings();
    found.bAnalysed = reader.GetBool();
    return Finished(reader, std::move(found));
}

QByteArray EncodeFindings(const SFileFindings &findings)
{
    CCacheRecordWriter writer;
    writer.PutInt(kFindingsForm);
    writer.PutInt(int(findings.kind));
    writer.PutBool(findings.bRead);
    writer.PutInt(findings.nSize);
    writer.PutInt(findings.reasons.size());
    for (const SFileReason &reason : findings.reasons) {
        writer.PutString(reason.strCode);
        writer.PutInt(int(reason.severity));
        writer.PutString(reason.strText);
    }
    writer.PutBool(findings.bAudio);
    writer.PutBool(findings.bGraphics);
    writer.PutDouble(findings.dAudioSeconds);
    writer.PutDouble(findings.dGraphicsSeconds);
    writer.PutInt(findings.prints.size());
    for (const SContentPrint &print : findings.prints) {
        writer.PutBool(print.bAudio);
        writer.PutBytes(print.digest);
        writer.PutString(print.strMember);
    }
    return writer.Bytes();
}

std::optional<SFileFindings> DecodeFindings(QByteArrayView bytes)
{
    // Every reason and print takes more bytes than this, so a count above what is left fails.
    constexpr qint64 kSmallestItem = 24;
    CCacheRecordReader reader(bytes);
    if (reader.GetInt() != kFindingsForm)
        return std::nullopt;
    SFileFindings findings;
    findings.kind = EFileKind(reader.GetIntIn(int(EFileKind::Other), int(EFileKind::Sidecar)));
    findings.bRead = reader.GetBool();
    findings.nSize = reader.GetIntIn(0, std::numeric_limits<qint64>::max());
    const qint64 reasons = reader.GetIntIn(0, bytes.size() / kSmallestItem);
    for (qint64 i = 0; i < reasons && !reader.Failed(); ++i) {
        SFileReason reason;
        reason.strCode = reader.GetString();
        reason.severity = ESeverity(reader.GetIntIn(int(ESeverity::Warning), int(ESeverity::Broken)));
        reason.strText = reader.GetString();
        findings.reasons.append(reason);
    }
    findings.bAudio = reader.GetBool();
    findings.bGraphics = reader.GetBool();
    findings.dAudioSeconds = reader.GetDouble();
    findings.dGraphicsSeconds = reader.GetDouble();
    const qint64 prints = reader.GetIntIn(0, bytes.size() / kSmallestItem);
    for (qint64 i = 0; i < prints && !reader.Failed(); ++i) {
        SContentPrint print;
        print.bAudio = reader.GetBool();
        print.digest = reader.GetBytes();
        print.strMember = reader.GetString();
        findings.prints.append(print);
    }
    return Finished(reader, std::move(findings));
}

} // namespace velmora
