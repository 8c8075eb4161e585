#include "inspect/ZipPackageTool.h"

#include "base/UserPaths.h"
#include "inspect/FileBytes.h"
#include "inspect/Mp3Analysis.h"
#include "inspect/UnzipOutput.h"
#include "inspect/WorkFolder.h"
#include "inspect/ZipPackageMarks.h"
#include "platform/FileStatus.h"
#include "platform/NativeName.h"
#include "platform/PrivateFolder.h"
#include "platform/ToolLocator.h"
#include "update/ZipNameGuard.h"
#include "widgets/ProcessRunner.h"


#include <unistd.h>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList RunUnzip(const QStringList &arguments)
{
    ProgramRunner runner(LocateTool(ProgramFolder(), u"unzip"_s));
    RunAndCollect(runner, arguments);
    return runner.m_lines;
}

// A relative package name that starts with "-" would read as an option.
QString PackageArgument(const QString &zipPath)
{
    return zipPath.startsWith(u'-') ? u"./"_s + zipPath : zipPath;
}

// The tool writes into the folder given with -d instead of the process's current folder:
// the current folder is shared by the whole process, and changing it for the tool's run
// would move every relative path of any other work under its feet. The empty password
// (-P) makes encrypted members fail at once instead of asking at a terminal.
QStringList ExtractArguments(const QString &zipPath, const QString &folder, const QString &pattern = {})
{
    QStringList arguments{u"-o"_s, u"-P"_s, QString(), PackageArgument(zipPath)};
    if (!pattern.isEmpty())
        arguments.append(pattern);
    arguments.append({u"-d"_s, folder});
    return arguments;
}

// A unique, newly made folder below the "_unzip" work folder; empty when none can be made.
// Every run of the tool gets its own, so runs on other threads never see each other's files.
QString NewExtractionFolder(const QString &prefix)
{
    return MakeUniqueFolder(WorkSubfolder(u"_unzip"_s), prefix);
}

QString GraphicsEnding(quint32 marks)
{
    if (marks & ZIP_MARK_MCG)
        return u".mcg"_s;
    if (marks & ZIP_MARK_CDG)
        return u".cdg"_s;
    if (marks & ZIP_MARK_NCG)
        return u".ncg"_s;
    return {};
}

void DeleteFile(const QString &path)
{
    ::unlink(EncodeNativeName(path).constData());
}

void TakeGraphics(const QString &path, QByteArray &graphicsBuffer)
{
    // Never more than the caller's buffer holds: it was sized from the listing, which need
    // not describe the member that was extracted.
    std::optional<QByteArray> bytes = ReadWholeFile(path, graphicsBuffer.size());
    graphicsBuffer = bytes ? *bytes : QByteArray();
    DeleteFile(path);
}

bool IsRegularFile(const QString &path)
{
    SFileStatus status;
    return QueryFileStatus(path, &status) && !status.bFolder;
}

} // namespace

QString ExtractedMemberPath(const QString &folder, const QString &printedName)
{
    const QString base = folder.endsWith(u'/') ? folder.chopped(1) : folder;
    QString relative = printedName;
    if (relative.startsWith(base + u'/'))
        relative = relative.mid(base.size() + 1);
    else if (relative.startsWith(u'/'))
        return {};
    const std::optional<QStringList> parts = ConfinedNameParts(relative);
    if (!parts || parts->isEmpty())
        return {};
    return base + u'/' + parts->join(u'/');
}

bool ListZipPackage(const QString &zipPath, qint64 &mp3Length, qint64 &graphicsLength, quint32 &marks)
{
    mp3Length = graphicsLength = 0;
    marks = 0;
    const SZipListing listing = ParseUnzipListing(RunUnzip({u"-l"_s, PackageArgument(zipPath)}));
    mp3Length = listing.nMp3Length;
    graphicsLength = listing.nGraphicsLength;
    marks = listing.dwMarks;
    return IsKaraokePackage(marks);
}

bool ExtractZipPackage(QString &mp3Path, const QString &zipPath, QByteArray &graphicsBuffer, quint32 marks)
{
    mp3Path.clear();
    const QString folder = NewExtractionFolder(u"dec"_s);
    if (folder.isEmpty())
        return true;
    const QStringList lines = RunUnzip(ExtractArguments(zipPath, folder));
    const QString graphicsEnding = GraphicsEnding(marks);
    for (const QString &name : ExtractedMemberNames(lines)) {
        const QString path = ExtractedMemberPath(folder, name);
        if (path.isEmpty())
            continue;
        if (name.endsWith(u".mp3"_s, Qt::CaseInsensitive))
            mp3Path = path;
        else if (!graphicsEnding.isEmpty() && name.endsWith(graphicsEnding, Qt::CaseInsensitive))
            TakeGraphics(path, graphicsBuffer);
        else
            DeleteFile(path);
    }
    return true;
}

bool ReadZipPackageByTool(const QString &zipPath, QStringList &result)
{
    result.clear();
    const SZipListing listing = ParseUnzipListing(RunUnzip({u"-l"_s, PackageArgument(zipPath)}));
    if (!IsKaraokePackage(listing.dwMarks))
        return false;
    const QString folder = NewExtractionFolder(u"run"_s);
    if (folder.isEmpty())
        return false;
    const QStringList lines = RunUnzip(ExtractArguments(zipPath, folder, u"*."_s + listing.strMp3Extension));
    for (const QString &name : ExtractedMemberNames(lines)) {
        const QString path = ExtractedMemberPath(folder, name);
        if (path.isEmpty() || !IsRegularFile(path))
            continue;
        ReadMp3FileTags(path, result);
        break;
    }
    // Whatever the tool wrote goes with the folder, also files whose printed names could
    // not be matched to the disk.
    RemoveFolderTree(folder);
    return !result.isEmpty();
}

} // namespace velmora
