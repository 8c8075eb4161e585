#include "base/UserManualPath.h"

#include "TestSupport.h"
#include "base/UserPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

class UserManualPath : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_prefix.path()).mkpath(u"bin"_s));
        ASSERT_TRUE(QDir(m_prefix.path()).mkpath(u"share/doc/velmora"_s));
        SetProgramFolder(Path(u"bin"_s));
    }
    void TearDown() override { SetProgramFolder({}); }
    QString Path(const QString &name) const { return QDir(m_prefix.path()).filePath(name); }

    QTemporaryDir m_prefix;
};

} // namespace

// Installed, the manual lies in share/doc/velmora beside bin; in a build tree beside the
// program; the PDF comes before the HTML form; nothing found names the PDF's place.
TEST_F(UserManualPath, ProgramFolderFirstThenTheInstalledDocFolder)
{
    EXPECT_EQ(LocalUserManual(), Path(u"bin/userManual.pdf"_s));
    test::WriteBytes(Path(u"share/doc/velmora/userManual.html"_s), "<html/>");
    EXPECT_EQ(LocalUserManual(), Path(u"share/doc/velmora/userManual.html"_s));
    test::WriteBytes(Path(u"share/doc/velmora/userManual.pdf"_s), "%PDF");
    EXPECT_EQ(LocalUserManual(), Path(u"share/doc/velmora/userManual.pdf"_s));
    test::WriteBytes(Path(u"bin/userManual.html"_s), "<html/>");
    EXPECT_EQ(LocalUserManual(), Path(u"bin/userManual.html"_s));
    test::WriteBytes(Path(u"bin/userManual.pdf"_s), "%PDF");
    EXPECT_EQ(LocalUserManual(), Path(u"bin/userManual.pdf"_s));
}

// The build puts the manual beside the program, so Help > User Manual finds it there.
TEST(UserManualBuild, TheBuiltManualIsFoundBesideTheProgram)
{
#ifdef VELMORA_MANUAL_BUILT
    SetProgramFolder(QFileInfo(QStringLiteral(VELMORA_BINARY)).absolutePath());
    const QFileInfo manual(LocalUserManual());
    SetProgramFolder({});
    ASSERT_TRUE(manual.isFile()) << manual.filePath().toStdString();
    EXPECT_GT(manual.size(), 10000);
#else
    GTEST_SKIP() << "pandoc was not found when the build was configured";
#endif
}
