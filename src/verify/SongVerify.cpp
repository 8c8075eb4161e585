#include "verify/SongVerify.h"

#include "verify/NamePortability.h"
#include "verify/VerifyTexts.h"

#include <QSet>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QString NameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString FolderPart(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash);
}

// The key that ties the files of one song together: folder and base name, case aside; an
// MP3 named "Song-.mp3" belongs to "Song.cdg" as the song grouping has it.
QString SongKey(const QString &path)
{
    const QString name = NameOf(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    QString base = dot < 0 ? name : name.left(dot);
    if (name.endsWith(u".mp3"_s, Qt::CaseInsensitive)) {
        while (base.endsWith(u'-'))
            base.chop(1);
    }
    return FolderPart(path) + u'/' + base.toLower();
}

struct STreeIndex
{
    QSet<QString> audioKeys;
    QSet<QString> graphicsKeys;
    QHash<QString, int> graphicsRowsInFolder;
};

struct SContext
{
    const QHash<QString, SFileFindings> &findings;
    QString strFolder;   // the checked folder, without a trailing "/"
    QString strRootName;
    STreeIndex index;
};

const SFileFindings *FindingsOf(const SContext &context, const QString &path)
{
    const auto found = context.findings.constFind(path);
    return found == context.findings.cend() || !found->bRead ? nullptr : &*found;
}

QString RelativePath(const SContext &context, const QString &path)
{
    const QString prefix = context.strFolder + u'/';
    return path.startsWith(prefix) ? path.mid(prefix.size()) : NameOf(path);
}

bool IsLooseAudio(EFileKind kind)
{
    return kind == EFileKind::Mp3 || kind == EFileKind::Wav || kind == EFileKind::Ogg || kind == EFileKind::Wma;
}

bool IsLooseGraphics(EFileKind kind)
{
    return kind == EFileKind::Cdg || kind == EFileKind::MakerGraphics;
}

STreeIndex IndexTree(const QList<SSongRow> &rows, const SContext &context)
{
    STreeIndex index;
    for (const SSongRow &row : rows) {
        bool rowGraphics = false;
        for (const QString &file : row.files) {
            const SFileFindings *found = FindingsOf(context, file);
            if (!found)
                continue;
            if (found->bAudio)
                index.audioKeys.insert(SongKey(file));
            if (found->bGraphics)
                index.graphicsKeys.insert(SongKey(file));
            rowGraphics = rowGraphics || found->bGraphics;
        }
        if (rowGraphics && !row.files.isEmpty())
            ++index.graphicsRowsInFolder[FolderPart(row.files.first())];
    }
    return index;
}

SVerifyReason ReasonAt(const SFileReason &reason, const QString &path)
{
    return SVerifyReason{reason.strCode, reason.severity, reason.strText, path};
}

SVerifyReason ReasonAt(QStringView code, ESeverity severity, const QString &text, const QString &path)
{
    return SVerifyReason{code.toString(), severity, text, path};
}

// What the row's files hold, taken together.
struct SRowContent
{
    QString strLooseAudio;      // first MP3, WAV, OGG or WMA file
    QString strLooseGraphics;   // first CD+G or maker's graphics file
    QString strPackage;         // first zip package
    bool bAudio = false;
    bool bGraphics = false;
    bool bPlainAudio = false;   // MP3, WAV or OGG: songs that want graphics beside them
    double dAudioSeconds = -1;
    double dGraphicsSeconds = -1;
    QString strTimedAudio;
    QString strTimedGraphics;
};

SRowContent ContentOf(const SSongRow &row, const SContext &context)
{
    SRowContent content;
    for (const QString &file : row.files) {
        const SFileFindings *found = FindingsOf(context, file);
        if (!found)
            continue;
        content.bAudio = content.bAudio || found->bAudio;
        content.bGraphics = content.bGraphics || found->bGraphics;
        if (IsLooseAudio(found->kind) && content.strLooseAudio.isEmpty())
            content.strLooseAudio = file;
        if (found->kind == EFileKind::Mp3 || found->kind == EFileKind::Wav || found->kind == EFileKind::Ogg)
            content.bPlainAudio = true;
        if (IsLooseGraphics(found->kind) && content.strLooseGraphics.isEmpty())
            content.strLooseGraphics = file;
        if (found->kind == EFileKind::Zip && content.strPackage.isEmpty())
            content.strPackage = file;
        if (found->dAudioSeconds >= 0 && content.dAudioSeconds < 0) {
            content.dAudioSeconds = found->dAudioSeconds;
            content.strTimedAudio = file;
        }
        if (found->dGraphicsSeconds >= 0 && content.dGraphicsSeconds < 0) {
            content.dGraphicsSeconds = found->dGraphicsSeconds;
            content.strTimedGraphics = file;
        }
    }
    return content;
}

void AddFileReasons(const SSongRow &row, const SContext &context, QList<SVerifyReason> &reasons)
{
    for (const QString &file : row.files) {
        const QString problem = NotPortableReason(RelativePath(context, file), context.strRootName);
        if (!problem.isEmpty())
            reasons.append(ReasonAt(VerifyCode::NameNotPortable, ESeverity::Warning, problem, file));
        if (const SFileFindings *found = FindingsOf(context, file)) {
            for (const SFileReason &reason : found->reasons)
                reasons.append(ReasonAt(reason, file));
        }
    }
}

void AddSongReasons(const SSongRow &row, const SContext &context, QList<SVerifyReason> &reasons)
{
    const SRowContent content = ContentOf(row, context);
    const QString rowFile = row.files.isEmpty() ? row.strPath : row.files.first();
    if (content.bGraphics && !content.bAudio) {
        if (!content.strLooseGraphics.isEmpty() && !context.index.audioKeys.contains(SongKey(content.strLooseGraphics)))
            reasons.append(ReasonAt(VerifyCode::NoAudio, ESeverity::Broken,
                                    u"the song has graphics (%1) but no audio file beside it"_s.arg(NameOf(content.strLooseGraphics)),
                                    content.strLooseGraphics));
        else if (content.strLooseGraphics.isEmpty() && !content.strPackage.isEmpty())
            reasons.append(ReasonAt(VerifyCode::NoAudio, ESeverity::Broken,
                                    u"the package holds graphics but no audio"_s, content.strPackage));
    }
    if (content.bPlainAudio && !content.bGraphics && !context.index.graphicsKeys.contains(SongKey(content.strLooseAudio))) {
        const int others = context.index.graphicsRowsInFolder.value(FolderPart(content.strLooseAudio));
        if (others > 0)
            reasons.append(ReasonAt(VerifyCode::NoGraphics, ESeverity::Warning,
                                    u"the song has audio (%1) but no graphics, while %2 other song%3 in this folder %4 theirs"_s
                                        .arg(NameOf(content.strLooseAudio))
                                        .arg(others)
                                        .arg(others == 1 ? QString() : u"s"_s)
                                        .arg(others == 1 ? u"has"_s : u"have"_s),
                                    content.strLooseAudio));
    }
    if (const auto mismatch = LengthMismatchReason(content.dGraphicsSeconds, NameOf(content.strTimedGraphics),
                                                   content.dAudioSeconds, NameOf(content.strTimedAudio)))
        reasons.append(ReasonAt(*mismatch, rowFile));
}

// Where a content print was found: the row, the file, and a name for it in texts.
struct SPlace
{
    int nRow = -1;
    QString strPath;
    QString strName;
};

void AddDuplicateReasons(const QList<SSongRow> &rows, const SContext &context, QList<SSongVerdict> &verdicts)
{
    QHash<QByteArray, QList<SPlace>> places;
    QList<QByteArray> order;
    for (int r = 0; r < rows.size(); ++r) {
        for (const QString &file : rows.at(r).files) {
            const SFileFindings *found = FindingsOf(context, file);
            if (!found)
                continue;
            for (const SContentPrint &print : found->prints) {
                const QByteArray key = (print.bAudio ? "a" : "g") + print.digest;
                const QString name = print.strMember.isEmpty()
                    ? RelativePath(context, file)
                    : u"%1 in %2"_s.arg(print.strMember, RelativePath(context, file));
                if (!places.contains(key))
                    order.append(key);
                places[key].append({r, file, name});
            }
        }
    }
    for (const QByteArray &key : std::as_const(order)) {
        const QList<SPlace> &found = places.value(key);
        if (found.size() < 2)
            continue;
        const bool audio = key.startsWith('a');
        for (qsizetype i = 0; i < found.size(); ++i) {
            const SPlace &other = found.at(i == 0 ? 1 : 0);
            const QString text = u"the same %1 data as %2%3"_s.arg(audio ? u"audio"_s : u"graphics"_s, other.strName,
                                                                   found.size() > 2 ? u" (%1 copies in the tree)"_s.arg(found.size()) : QString());
            verdicts[found.at(i).nRow].reasons.append(ReasonAt(VerifyCode::Duplicate, ESeverity::Warning, text, found.at(i).strPath));
        }
    }
}

} // namespace

QList<SSongVerdict> JudgeSongs(const QList<SSongRow> &rows, const QHash<QString, SFileFindings> &findings,
                               const QString &checkedFolder)
{
    QString folder = checkedFolder;
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    SContext context{findings, folder, NameOf(folder), {}};
    context.index = IndexTree(rows, context);

    QList<SSongVerdict> verdicts(rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const SSongRow &row = rows.at(r);
        QList<SVerifyReason> &reasons = verdicts[r].reasons;
        if (row.bFolder) {
            const QString name = NameOf(row.strPath);
            const QString problem = name == u".."_s ? QString() : NotPortableReason(RelativePath(context, row.strPath), context.strRootName);
            if (!problem.isEmpty())
                reasons.append(ReasonAt(VerifyCode::NameNotPortable, ESeverity::Warning, problem, row.strPath));
            continue;
        }
        AddFileReasons(row, context, reasons);
        AddSongReasons(row, context, reasons);
    }
    AddDuplicateReasons(rows, context, verdicts);
    for (SSongVerdict &verdict : verdicts)
        verdict.verdict = VerdictOf(verdict.reasons);
    return verdicts;
}

} // namespace velmora
