#include "verify/ZipVerify.h"

#include "verify/CdgPackScan.h"
#include "verify/ContentHash.h"
#include "verify/Mp3FrameWalk.h"
#include "verify/StreamReasons.h"
#include "verify/StreamSink.h"
#include "verify/VerifyTexts.h"
#include "update/ZipArchive.h"

#include <memory>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// Takes every byte and looks at none: for members only their CRC-32 is checked.
class CDiscardSink final : public IStreamSink
{
public:
    qsizetype Feed(QByteArrayView data, bool) override { return data.size(); }
};

SFileReason PackageReason(QStringView code, const QString &text)
{
    return SFileReason{code.toString(), ESeverity::Broken, text};
}

QString MemberProblem(ZipResult code)
{
    switch (code) {
    case ZR_PASSWORD: return u"is encrypted and cannot be read"_s;
    case ZR_CORRUPT: return u"cannot be opened: its entry in the package is damaged"_s;
    case ZR_READ: return u"cannot be read from the package"_s;
    default: return u"does not unpack whole: its compressed data is damaged or its CRC-32 differs"_s;
    }
}

// Unpacks one member through sink; ZR_OK when it came out whole with a matching CRC-32.
ZipResult PumpMember(CZipArchive *archive, int index, IStreamSink &sink)
{
    CStreamWindow window;
    for (;;) {
        qsizetype filled = 0;
        const ZipResult code = ExtractItemToBuffer(archive, index, window.Space(), &filled);
        window.Commit(filled);
        if (code == ZR_MORE) {
            window.Drain(sink, false);
            continue;
        }
        window.Drain(sink, true);
        return code;
    }
}

struct SPackageState
{
    QString strAudio;       // first audio member
    QString strGraphics;    // first graphics member
    double dAudioSeconds = -1;
    double dGraphicsSeconds = -1;
};

QString MemberKey(const QString &name)
{
    return name.right(4).toLower();
}

void VerifyMember(CZipArchive *archive, const SZipEntry &entry, SFileFindings &findings, SPackageState &state)
{
    const QString key = MemberKey(entry.strName);
    const QString prefix = u"in the package, %1: "_s.arg(entry.strName);
    std::unique_ptr<CMp3FrameWalker> walker;
    std::unique_ptr<CCdgPackScan> scan;
    CDiscardSink discard;
    IStreamSink *sink = &discard;
    if (key == u".mp3"_s)
        sink = (walker = std::make_unique<CMp3FrameWalker>()).get();
    else if (key == u".cdg"_s)
        sink = (scan = std::make_unique<CCdgPackScan>()).get();
    const bool audio = walker || key == u".wav"_s || key == u".wma"_s || key == u".ogg"_s;
    const bool graphics = scan || key == u".mcg"_s || key == u".ncg"_s;
    findings.bAudio = findings.bAudio || audio;
    findings.bGraphics = findings.bGraphics || graphics;
    if (audio && state.strAudio.isEmpty())
        state.strAudio = entry.strName;
    if (graphics && state.strGraphics.isEmpty())
        state.strGraphics = entry.strName;

    const ZipResult code = PumpMember(archive, entry.nIndex, *sink);
    if (code != ZR_OK) {
        findings.reasons.append(PackageReason(VerifyCode::PackageDamaged,
                                              u"member %1 (%2 bytes) %3"_s.arg(entry.strName).arg(entry.nUncompressedSize).arg(MemberProblem(code))));
        return;
    }
    if (walker) {
        const SMp3Walk &walk = walker->Result();
        findings.reasons.append(Mp3Reasons(walk, prefix));
        if (walk.HasFrames()) {
            findings.prints.append({true, walk.digest, entry.strName});
            if (state.dAudioSeconds < 0)
                state.dAudioSeconds = walk.dSeconds;
        }
    } else if (scan) {
        const SCdgScan &result = scan->Result();
        if (!result.bMakerForm) {
            findings.reasons.append(CdgReasons(result, prefix));
            findings.prints.append({false, result.digest, entry.strName});
            if (state.dGraphicsSeconds < 0)
                state.dGraphicsSeconds = result.Seconds();
        }
    }
}

void AddCompleteness(SFileFindings &findings, const SPackageState &state)
{
    if (findings.bGraphics && !findings.bAudio) {
        findings.reasons.append(PackageReason(VerifyCode::PackageIncomplete,
                                              u"the package holds graphics (%1) but no audio"_s.arg(state.strGraphics)));
    } else if (findings.bAudio && !findings.bGraphics) {
        findings.reasons.append(PackageReason(VerifyCode::PackageIncomplete,
                                              u"the package holds audio (%1) but no graphics"_s.arg(state.strAudio)));
    }
    if (const auto mismatch = LengthMismatchReason(state.dGraphicsSeconds, state.strGraphics, state.dAudioSeconds,
                                                   state.strAudio))
        findings.reasons.append(*mismatch);
}

} // namespace

void VerifyZipPackage(const QString &path, SFileFindings &findings)
{
    HZIP archive = OpenArchive(path);
    if (!archive) {
        findings.reasons.append(PackageReason(VerifyCode::PackageDamaged,
                                              u"it is not a readable zip package: its central directory cannot be found or read"_s));
        return;
    }
    SZipEntry count;
    DescribeItem(archive.get(), -1, count);
    SPackageState state;
    const int members = std::min(count.nIndex, kMaxVerifiedMembers);
    for (int index = 0; index < members; ++index) {
        SZipEntry entry;
        const ZipResult described = DescribeItem(archive.get(), index, entry);
        if (described != ZR_OK) {
            findings.reasons.append(PackageReason(VerifyCode::PackageDamaged,
                                                  u"the package's directory is damaged at member %1 of %2"_s.arg(index + 1).arg(count.nIndex)));
            break;
        }
        const bool folder = (entry.dwAttributes & ZIP_ATTR_FOLDER) != 0 || entry.strName.endsWith(u'/');
        if (folder || entry.nUncompressedSize > kMaxVerifiedMemberSize)
            continue;
        VerifyMember(archive.get(), entry, findings, state);
    }
    AddCompleteness(findings, state);
}

} // namespace velmora
