// Which engine gives the media-details check its reports when the user chose none: the
// library only when it answers as the tool would.
#include "TestSupport.h"

#include "base/UserPaths.h"
#include "check/MediaReport.h"
#include "inspect/MediaInfoLibrary.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

// A program folder whose mediainfo prints the given version text.
class CStandInTool
{
public:
    explicit CStandInTool(const QString &versionText)
    {
        const QString path = QDir(m_folder.path()).filePath(u"mediainfo"_s);
        test::WriteBytes(path, "#!/bin/sh\nprintf '%s\\n' 'MediaInfo Command line, ' '" + versionText.toUtf8() + "'\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_previous = ProgramFolder();
        SetProgramFolder(m_folder.path());
    }
    ~CStandInTool() { SetProgramFolder(m_previous); }

private:
    QTemporaryDir m_folder;
    QString m_previous;
};

QString LibraryVersion()
{
    CMediaInfo info;
    return info.Create() ? info.Option(u"Info_Version"_s) : QString();
}

} // namespace

TEST(MediaReport, ChosenEnginesStayAsChosen)
{
    EXPECT_EQ(ChooseReportEngine(EReportEngine::Tool), EReportEngine::Tool);
    EXPECT_EQ(ChooseReportEngine(EReportEngine::Library), EReportEngine::Library);
}

TEST(MediaReport, FastestIsTheLibraryOnlyWhenTheToolIsBuiltOnIt)
{
    if (CMediaInfoModule::Shared().Load() != 1)
        GTEST_SKIP() << "the media-information library is needed";
    ASSERT_TRUE(LibraryVersion().startsWith(u"MediaInfoLib - v"_s)) << LibraryVersion().toStdString();
    {
        const CStandInTool same(LibraryVersion());
        EXPECT_EQ(ChooseReportEngine(EReportEngine::Fastest), EReportEngine::Library);
    }
    {
        const CStandInTool older(u"MediaInfoLib - v0.7.99"_s);
        EXPECT_EQ(ChooseReportEngine(EReportEngine::Fastest), EReportEngine::Tool);
    }
    if (!QStandardPaths::findExecutable(u"mediainfo"_s).isEmpty()) {
        const CStandInTool none(u"unused"_s); // its folder, without a tool, falls back to PATH
        QFile::remove(QDir(ProgramFolder()).filePath(u"mediainfo"_s));
        EXPECT_EQ(ChooseReportEngine(EReportEngine::Fastest), EReportEngine::Library)
            << "the installed mediainfo is built on another library version";
    }
}

TEST(MediaReport, KnownReportOfABareStreamIsTheLibrarysLines)
{
    if (CMediaInfoModule::Shared().Load() != 1)
        GTEST_SKIP() << "the media-information library is needed";
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(u"song.cdg"_s);
    // One pack of one instruction (a memory preset), the rest empty: 3 packs, 288 bytes.
    QByteArray bytes(288, '\0');
    bytes[0] = 0x09;
    bytes[1] = 0x01;
    test::WriteBytes(path, bytes);
    EXPECT_EQ(MediaReportLines(EReportEngine::Library, path),
              (QStringList{u"General"_s, u"Complete name                            : "_s + path,
                           u"File size                                : 288 Bytes"_s, QString(), QString()}));
}
