#include "cache/CacheContext.h"

#include "base/UserPaths.h"
#include "inspect/MediaInfoLibrary.h"
#include "platform/CodePage.h"
#include "platform/NativeName.h"
#include "platform/ToolLocator.h"
#include "res/Version.h"

#include <sys/stat.h>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// A file as its size and modification time: a program or tool replaced by another build.
QString FileIdentity(const QString &path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(EncodeNativeName(path).constData(), &info) != 0)
        return u"none"_s;
    return u"%1:%2:%3.%4"_s.arg(path).arg(qint64(info.st_size)).arg(qint64(info.st_mtim.tv_sec)).arg(info.st_mtim.tv_nsec);
}

QString ProgramContext()
{
    return u"velmora %1, program %2"_s.arg(QString::fromUtf16(kVersionText), FileIdentity(u"/proc/self/exe"_s));
}

QString LibraryVersion()
{
    CMediaInfo info;
    return info.Create() ? info.Option(u"Info_Version"_s).trimmed() : u"unavailable"_s;
}

QString Tool(const QString &name)
{
    return FileIdentity(LocateTool(ProgramFolder(), name));
}

} // namespace

QString SongFileContext()
{
    return u"%1; code page %2; library %3; unzip %4"_s.arg(ProgramContext()).arg(AnsiCodePage()).arg(LibraryVersion(),
                                                                                                       Tool(u"unzip"_s));
}

QString MediaDetailsContext(EReportEngine engine)
{
    const QString source = engine == EReportEngine::Library ? u"library "_s + LibraryVersion()
                                                             : u"tool "_s + Tool(u"mediainfo"_s);
    return u"%1; code page %2; %3; library %4; unzip %5"_s.arg(ProgramContext())
        .arg(AnsiCodePage())
        .arg(source, LibraryVersion(), Tool(u"unzip"_s));
}

QString VerifyContext()
{
    return ProgramContext();
}

} // namespace velmora
