#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace velmora {

// How bad one problem is: broken songs will not play right; warnings play, but something is off.
enum class ESeverity { Warning, Broken };

// The verdict of a song: the worst severity among its reasons, ok without any.
enum class EVerdict { Ok, Warning, Broken };

// The stable codes of the reasons; scripts and the window key on them.
namespace VerifyCode {
inline constexpr QStringView NoAudio = u"no-audio";
inline constexpr QStringView NoGraphics = u"no-graphics";
inline constexpr QStringView LengthMismatch = u"length-mismatch";
inline constexpr QStringView AudioDamaged = u"audio-damaged";
inline constexpr QStringView AudioTruncated = u"audio-truncated";
inline constexpr QStringView AudioUnreadable = u"audio-unreadable";
inline constexpr QStringView GraphicsDamaged = u"graphics-damaged";
inline constexpr QStringView GraphicsBlank = u"graphics-blank";
inline constexpr QStringView PackageDamaged = u"package-damaged";
inline constexpr QStringView PackageIncomplete = u"package-incomplete";
inline constexpr QStringView Duplicate = u"duplicate";
inline constexpr QStringView Sidecar = u"sidecar";
inline constexpr QStringView EmptyFile = u"empty-file";
inline constexpr QStringView NameNotPortable = u"name-not-portable";
inline constexpr QStringView LyricsMissing = u"lyrics-missing";
} // namespace VerifyCode

// One stated problem of a file, as the per-file verification finds it.
struct SFileReason
{
    QString strCode;
    ESeverity severity = ESeverity::Warning;
    QString strText; // plain English, naming its evidence
};

// One problem of a song: the file it is about and why.
struct SVerifyReason
{
    QString strCode;
    ESeverity severity = ESeverity::Warning;
    QString strText;
    QString strPath; // the file the reason is about
};

// The verdict of one row of the song check.
struct SSongVerdict
{
    EVerdict verdict = EVerdict::Ok;
    QList<SVerifyReason> reasons;
};

QString SeverityName(ESeverity severity);  // "warning", "broken"
QString VerdictName(EVerdict verdict);     // "ok", "warning", "broken"
EVerdict VerdictOf(const QList<SVerifyReason> &reasons);
// A reason as one line of text: "broken audio-damaged: song.mp3: ...".
QString ReasonLine(const SVerifyReason &reason);

} // namespace velmora
