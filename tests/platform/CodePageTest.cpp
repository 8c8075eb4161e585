// The "system ANSI code page" of texts from Windows machines: the setting, else the locale.
#include "TestSupport.h"

#include "platform/CodePage.h"
#include "platform/Settings.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(AnsiCodePage, LocalesGiveTheirWindowsCodePage)
{
    EXPECT_EQ(CodePageOfLocale(u"ko_KR.UTF-8"_s), 949);
    EXPECT_EQ(CodePageOfLocale(u"ja_JP.eucJP"_s), 932);
    EXPECT_EQ(CodePageOfLocale(u"zh_CN.UTF-8"_s), 936);
    EXPECT_EQ(CodePageOfLocale(u"zh_TW.Big5"_s), 950);
    EXPECT_EQ(CodePageOfLocale(u"zh_HK"_s), 950);
    EXPECT_EQ(CodePageOfLocale(u"de_DE.UTF-8@euro"_s), 1252);
    EXPECT_EQ(CodePageOfLocale(u"C.UTF-8"_s), 1252);
    EXPECT_EQ(CodePageOfLocale(QString()), 1252);
    EXPECT_TRUE(IsSupportedCodePage(950));
    EXPECT_EQ(DecodeCodePage(QByteArray("\xA4\xA4"), 950), u"\u4E2D"_s);
}

TEST(AnsiCodePage, SettingIsReadFromAHandWrittenGeneralSection)
{
    const test::CScratchSettings scratch;
    const QString file = OpenSettings()->fileName();
    const QByteArray saved = qgetenv("LC_ALL");
    qputenv("LC_ALL", "ja_JP.UTF-8");

    test::WriteBytes(file, "[General]\r\nAnsiCodePage=949\r\n");
    ResetAnsiCodePage();
    EXPECT_EQ(AnsiCodePage(), 949);

    test::WriteBytes(file, "[%General]\r\nAnsiCodePage=936\r\n");
    ResetAnsiCodePage();
    EXPECT_EQ(AnsiCodePage(), 936);

    // Nothing set: the locale's code page.
    test::WriteBytes(file, "[Other]\r\nKey=1\r\n");
    ResetAnsiCodePage();
    EXPECT_EQ(AnsiCodePage(), 932);

    if (saved.isEmpty())
        qunsetenv("LC_ALL");
    else
        qputenv("LC_ALL", saved);
    ResetAnsiCodePage();
}
