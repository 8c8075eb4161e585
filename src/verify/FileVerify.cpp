#include "verify/FileVerify.h"

#include "inspect/CdgReader.h"
#include "inspect/FileBytes.h"
#include "inspect/KaraokeIdentification.h"
#include "inspect/MediaTypes.h"
#include "platform/SequentialFile.h"
#include "verify/CdgPackScan.h"
#include "verify/KarLyrics.h"
#include "verify/Mp3FrameWalk.h"
#include "verify/StreamReasons.h"
#include "verify/StreamSink.h"
#include "verify/VerifyTexts.h"
#include "verify/WavInfo.h"
#include "verify/ZipVerify.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype kWavHeadBytes = 64 * 1024;
constexpr int kRecordKindTileNormal = 4;
constexpr int kRecordKindTileXor = 5;

QString NameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString ExtensionOf(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

QString SidecarText(const QString &name)
{
    if (name.startsWith(u"._"_s))
        return u"not a song: an AppleDouble file that macOS writes beside %1 on disks it cannot label"_s.arg(name.mid(2));
    if (name.compare(u".DS_Store"_s, Qt::CaseInsensitive) == 0)
        return u"not a song: the folder view settings macOS Finder leaves in every folder it opens"_s;
    if (name.compare(u"Thumbs.db"_s, Qt::CaseInsensitive) == 0)
        return u"not a song: the picture preview cache Windows Explorer leaves in folders"_s;
    if (name.compare(u"desktop.ini"_s, Qt::CaseInsensitive) == 0)
        return u"not a song: the folder settings file of Windows Explorer"_s;
    return {};
}

// Hashes every byte and keeps the first ones: for audio formats that are not walked.
class CWholeContentSink final : public IStreamSink
{
public:
    qsizetype Feed(QByteArrayView data, bool) override
    {
        if (m_head.size() < kWavHeadBytes)
            m_head.append(data.first(qMin(data.size(), kWavHeadBytes - m_head.size())));
        m_hash.Add(data);
        return data.size();
    }
    QByteArray m_head;
    CContentHash m_hash;
};

SFileReason Reason(QStringView code, ESeverity severity, const QString &text)
{
    return SFileReason{code.toString(), severity, text};
}

// A read that failed half-way says nothing about the bytes it did not reach: only the failure
// is reported.
void ReportReadFailure(QStringView code, SFileFindings &findings)
{
    findings.reasons = {Reason(code, ESeverity::Broken, u"the file cannot be read to its end: the disk reports a read error"_s)};
    findings.prints.clear();
    findings.dAudioSeconds = findings.dGraphicsSeconds = -1;
}

void VerifyMp3(CSequentialFile &file, SFileFindings &findings)
{
    CMp3FrameWalker walker;
    findings.bRead = PumpFile(file, walker);
    const SMp3Walk &walk = walker.Result();
    findings.reasons.append(Mp3Reasons(walk));
    if (walk.HasFrames()) {
        findings.dAudioSeconds = walk.dSeconds;
        findings.prints.append({true, walk.digest, {}});
    }
    if (!findings.bRead)
        ReportReadFailure(VerifyCode::AudioUnreadable, findings);
}

void VerifyOtherAudio(CSequentialFile &file, SFileFindings &findings)
{
    CWholeContentSink sink;
    findings.bRead = PumpFile(file, sink);
    findings.prints.append({true, sink.m_hash.Digest(), {}});
    if (!findings.bRead)
        return ReportReadFailure(VerifyCode::AudioUnreadable, findings);
    if (findings.kind != EFileKind::Wav)
        return;
    const SWavInfo wav = ReadWavInfo(sink.m_head, findings.nSize);
    if (!wav.bFound)
        return;
    findings.dAudioSeconds = wav.dSeconds - wav.dMissing;
    if (wav.nDeclared > wav.nPresent) {
        findings.reasons.append(Reason(VerifyCode::AudioTruncated, wav.dMissing > kTruncatedBroken ? ESeverity::Broken : ESeverity::Warning,
                                       u"its data chunk declares %1 bytes (%2) but the file holds %3 of them: %4 of audio missing"_s
                                           .arg(wav.nDeclared)
                                           .arg(TimeText(wav.dSeconds))
                                           .arg(wav.nPresent)
                                           .arg(SpanText(wav.dMissing))));
    }
}

bool RecordsDraw(QByteArrayView records)
{
    for (qsizetype at = 0; at + 16 <= records.size(); at += 16) {
        const int kind = quint8(records[at]);
        if (kind == kRecordKindTileNormal || kind == kRecordKindTileXor)
            return true;
    }
    return false;
}

// The maker's graphics forms are no packet streams: the graphics reader loads them whole
// (they are small, and it bounds what it reads).
void VerifyMakerGraphics(const QString &path, SFileFindings &findings)
{
    QByteArray records;
    if (!LoadKaraokeGraphics(path, &records)) {
        findings.reasons.append(Reason(VerifyCode::GraphicsDamaged, ESeverity::Broken,
                                       u"the graphics reader does not accept it as karaoke graphics of the maker's forms"_s));
        return;
    }
    const int seconds = GraphicsPlayingTime(records);
    if (seconds > 0)
        findings.dGraphicsSeconds = seconds;
    if (!records.isEmpty() && !RecordsDraw(records))
        findings.reasons.append(Reason(VerifyCode::GraphicsBlank, ESeverity::Broken,
                                       u"none of its %1 graphics instructions draws on the screen, so no lyrics show"_s.arg(records.size() / 16)));
}

void VerifyCdg(const QString &path, CSequentialFile &file, SFileFindings &findings)
{
    CCdgPackScan scan;
    findings.bRead = PumpFile(file, scan);
    const SCdgScan &result = scan.Result();
    if (!findings.bRead)
        return ReportReadFailure(VerifyCode::GraphicsDamaged, findings);
    if (result.bMakerForm) {
        VerifyMakerGraphics(path, findings);
        return;
    }
    findings.reasons.append(CdgReasons(result));
    findings.dGraphicsSeconds = result.Seconds();
    findings.prints.append({false, result.digest, {}});
}

void VerifyKaraokeMidi(const QString &path, SFileFindings &findings)
{
    const std::optional<QByteArray> bytes = ReadWholeFile(path, kMaxKaraokeMidiSize);
    if (!bytes)
        return;
    const qint64 lyrics = CountLyricEvents(*bytes);
    if (lyrics < 0)
        findings.reasons.append(Reason(VerifyCode::LyricsMissing, ESeverity::Warning,
                                       u"it is not a readable Standard MIDI File, so no lyrics can show"_s));
    else if (lyrics == 0)
        findings.reasons.append(Reason(VerifyCode::LyricsMissing, ESeverity::Warning,
                                       u"it holds no lyric text events: the music plays without words on screen"_s));
}

} // namespace

EFileKind FileKindOf(const QString &name)
{
    if (!SidecarText(name).isEmpty())
        return EFileKind::Sidecar;
    const QString extension = ExtensionOf(name);
    if (extension == u".mp3"_s) return EFileKind::Mp3;
    if (extension == u".wav"_s) return EFileKind::Wav;
    if (extension == u".ogg"_s) return EFileKind::Ogg;
    if (extension == u".wma"_s) return EFileKind::Wma;
    if (extension == u".cdg"_s) return EFileKind::Cdg;
    if (extension == u".mcg"_s || extension == u".ncg"_s || extension == u".scdg"_s) return EFileKind::MakerGraphics;
    if (extension == u".zip"_s) return EFileKind::Zip;
    if (extension == u".kar"_s) return EFileKind::Kar;
    return IsKnownMediaFile(name) ? EFileKind::OtherMedia : EFileKind::Other;
}

SFileFindings VerifyFile(const QString &path)
{
    SFileFindings findings;
    const QString name = NameOf(path);
    findings.kind = FileKindOf(name);
    if (findings.kind == EFileKind::Sidecar) {
        // Judged by its name alone: its bytes are no song, whatever they are.
        findings.bRead = true;
        findings.reasons.append(Reason(VerifyCode::Sidecar, ESeverity::Warning, SidecarText(name)));
        return findings;
    }
    if (findings.kind == EFileKind::Other)
        return findings;
    CSequentialFile file;
    if (file.Open(path) != 0)
        return findings;
    findings.nSize = file.Size();
    findings.bRead = true;
    const EFileKind kind = findings.kind;
    findings.bAudio = kind == EFileKind::Mp3 || kind == EFileKind::Wav || kind == EFileKind::Ogg || kind == EFileKind::Wma;
    findings.bGraphics = kind == EFileKind::Cdg || kind == EFileKind::MakerGraphics;
    if (findings.nSize == 0) {
        findings.reasons.append(Reason(VerifyCode::EmptyFile, ESeverity::Broken, u"the file holds no bytes at all"_s));
        return findings;
    }
    switch (kind) {
    case EFileKind::Mp3: VerifyMp3(file, findings); break;
    case EFileKind::Wav:
    case EFileKind::Ogg:
    case EFileKind::Wma: VerifyOtherAudio(file, findings); break;
    case EFileKind::Cdg: VerifyCdg(path, file, findings); break;
    case EFileKind::MakerGraphics: file.Close(); VerifyMakerGraphics(path, findings); break;
    case EFileKind::Zip: file.Close(); VerifyZipPackage(path, findings); break;
    case EFileKind::Kar: file.Close(); VerifyKaraokeMidi(path, findings); break;
    case EFileKind::OtherMedia:
    case EFileKind::Other:
    case EFileKind::Sidecar: break;
    }
    return findings;
}

} // namespace velmora
