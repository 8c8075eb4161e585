#include "TestSupport.h"
#include "update/UpdateFixture.h"

#include "update/ProfileFile.h"
#include "update/UpdateManifest.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

QStringList Records(const QString &text)
{
    CProfileFile profile;
    profile.LoadText(text);
    return BuildManifestRecords(profile);
}

QString Manifest(const QString &fileName, const QString &version)
{
    return u"[HEADER]\r\nAPPTITLE=Velmora\r\nFILENUMBER=1\r\nFILENAME=%1\r\nFILEVERSION=%2\r\n"
           "[UPDATE]\r\nFILENAME=DodOdevOdiviz.zip\r\nVERSION=1.0.0.3\r\n"
           "[FILE1]\r\nFILENAME=velmora\r\nVERSION=%2\r\n"_s.arg(fileName, version);
}

class CManifestFixture : public test::CUpdateFixture
{
protected:
    QString Write(const QByteArray &bytes)
    {
        const QString path = m_updateFolder.filePath(u"update.ini"_s);
        test::WriteBytes(path, bytes);
        return path;
    }
};

} // namespace

TEST(ManifestRecords, SectionsInOrderMissingKeysEmpty)
{
    const QStringList records = Records(
        u"[header]\nAPPTITLE = Velmora\nfilenumber=2\nFILENAME=Velmora.exe\nFILEVERSION=1.0.0.16\n"
        "[FILE2]\nVERSION=2\n[FILE1]\nFILENAME=a.dll\nCHECKSUM=\"ab\"\n[UPDATE]\nFILENAME=DodOdevOdiviz.zip\n"
        "BUILDDATE=2014-05-07\n"_s);
    EXPECT_EQ(records, (QStringList{u"[HEADER]|Velmora|2|Velmora.exe|1.0.0.16"_s,
                                    u"[UPDATE]|DodOdevOdiviz.zip||2014-05-07|"_s, u"[FILE]|a.dll||||ab"_s}));
    EXPECT_TRUE(Records(u"[HEADER]\nFILENAME=Velmora.exe\n"_s).isEmpty()); // no APPTITLE, no header record
}

TEST(ManifestRecords, HostileCountsValuesAndBytes)
{
    // A count of billions costs nothing; sections beyond the count and "FILE01" are not FILEi.
    const QStringList records = Records(
        u"[HEADER]\nAPPTITLE=V\nFILENUMBER=4000000000\n[FILE3]\nFILENAME=c\n[FILE01]\nFILENAME=z\n"
        "[FILE1]\nFILENAME=a|b\n[FILE1]\nFILENAME=dup\n"_s);
    EXPECT_EQ(records, (QStringList{u"[HEADER]|V|4000000000||"_s, u"[FILE]|a|b||||"_s, u"[FILE]|c||||"_s}));
    EXPECT_EQ(RecordField(records[1], 2), u"b"_s); // a "|" shifts the later fields
    EXPECT_EQ(Records(u"[HEADER]\nAPPTITLE=V\nFILENUMBER=x2\n[FILE1]\nFILENAME=a\n"_s).size(), 1);
    EXPECT_EQ(Records(u"[HEADER]\nAPPTITLE=V\nFILENUMBER=1\n[FILE2]\nFILENAME=a\n"_s).size(), 1);

    CProfileFile profile;
    profile.LoadText(u"[HEADER]\nAPPTITLE="_s + QString(300, u'x') + u"\n"_s);
    EXPECT_EQ(profile.Value(u"header"_s, u"apptitle"_s).size(), 259);
    EXPECT_EQ(profile.Value(u"HEADER"_s, u"MISSING"_s), u""_s);

    // Binary bytes and zero bytes are text like any other; an unclosed section still counts.
    QByteArray binary("[HEADER]\nAPPTITLE=\x01\xff\xfe");
    binary.append('\0').append("zz\n[UPDATE\nFILENAME=\x80").append('\0').append("\n\x00");
    const QStringList odd = Records(DecodeProfileBytes(binary));
    ASSERT_EQ(odd.size(), 2);
    EXPECT_TRUE(odd[0].startsWith(u"[HEADER]|"_s));
    EXPECT_TRUE(odd[1].startsWith(u"[UPDATE]|"_s));
}

TEST_F(CManifestFixture, FileNumberTwoWithEmptyFileTwo)
{
    QStringList records;
    const QString path = Write(u"[HEADER]\nAPPTITLE=Velmora\nFILENUMBER=2\nFILENAME=Velmora.exe\nFILEVERSION=1.0.0.15\n"
                               "[UPDATE]\nFILENAME=DodOdevOdiviz.zip\n[FILE1]\nFILENAME=velmora\n[FILE2]\nVERSION=1\n"_s
                                   .toUtf8());
    EXPECT_FALSE(ReadManifest(path, records, false));
    ASSERT_EQ(records.size(), 3);
    EXPECT_TRUE(records[2].startsWith(u"[FILE]|velmora|"_s));
    EXPECT_TRUE(m_prompt.m_questions.isEmpty()); // equal versions: no question
}

TEST_F(CManifestFixture, NewerVersionAsksInAnyLetterCase)
{
    QStringList records;
    const QString path = Write(Manifest(u"VELMORA.EXE"_s, u"1.0.0.16"_s).toUtf8());
    EXPECT_TRUE(ReadManifest(path, records, false));
    ASSERT_EQ(m_prompt.m_titles, QStringList{u" v1.0.0.16 Update now is available"_s});
    EXPECT_EQ(m_prompt.m_questions, QStringList{u"An update of velmora is now available. Proceed with the update?"_s});

    m_prompt.m_answer = EPromptAnswer::No;
    EXPECT_FALSE(ReadManifest(path, records, false));
    EXPECT_TRUE(ReadManifest(path, records, true)); // silent: no question
    EXPECT_EQ(m_prompt.m_questions.size(), 2);
}

TEST_F(CManifestFixture, NoUpdateForOthersOlderMalformedOrUnreadable)
{
    QStringList records;
    for (const QString &text : {Manifest(u"Other.exe"_s, u"9.0"_s), Manifest(u"velmora"_s, u"1.0.0.14"_s),
                                Manifest(u"velmora"_s, u"1.0.x"_s), u"<html><body>404 Not Found</body></html>"_s}) {
        EXPECT_FALSE(ReadManifest(Write(text.toUtf8()), records, false)) << text.toStdString();
    }
    EXPECT_FALSE(ReadManifest(m_updateFolder.filePath(u"absent.ini"_s), records, false));
    // A program without a version is never offered anything.
    SetRunningProgramPath(Write("no marker"));
    EXPECT_FALSE(ReadManifest(Write(Manifest(u"update.ini"_s, u"9.0"_s).toUtf8()), records, false));
    EXPECT_TRUE(m_prompt.m_questions.isEmpty());
}

TEST_F(CManifestFixture, TenMegabyteManifestIsReadLargerIsRefused)
{
    QStringList records;
    QByteArray big = Manifest(u"velmora"_s, u"1.0.0.16"_s).toUtf8();
    big += "[PADDING]\n" + QByteArray(10 << 20, ';') + "\n";
    EXPECT_TRUE(ReadManifest(Write(big), records, true));
    EXPECT_EQ(records.size(), 3);
    big += QByteArray(7 << 20, ' ');
    EXPECT_FALSE(ReadManifest(Write(big), records, true));
    EXPECT_TRUE(records.isEmpty());
}
