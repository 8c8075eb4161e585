// Verdicts of whole songs after a song check: every code triggered by a fixture named after
// the fault it reproduces, each beside a near miss that must pass.
#include "VerifyBytes.h"
#include "check/CheckFixture.h"
#include "legacy/MidiBytes.h"
#include "update/ZipTestArchive.h"

#include "check/ListSelectDirectory.h"
#include "verify/VerifyPrefetch.h"
#include "verify/VerifyRun.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using namespace velmora::test;

namespace {

// 104 seconds of 128 kbit/s audio with a tag and an Info header; seed makes it unlike others.
QByteArray SongAudio(int seed = 0)
{
    return Id3v2Tag(2048) + XingFrame(3983) + Mp3Frames(3983, seed * 4000);
}

class CSongVerifyTest : public ::testing::Test
{
protected:
    void Add(const QString &name, const QByteArray &bytes) { m_fixture.AddFile(name, bytes); }
    void AddPair(const QString &base, int seed)
    {
        Add(base + u".cdg"_s, CdgStream(104).replace(24 * 5000, 24, Garbage(24, seed).replace(0, 2, "\x09\x06")));
        Add(base + u".mp3"_s, Id3v2Tag(1024) + Mp3Frames(3981, seed * 4000));
    }

    // The codes of every row with a reason, by the row's first file name.
    QMap<QString, QStringList> Verify(int jobs = 1, bool subfolders = false, bool prefetch = false)
    {
        m_fixture.list.m_nTopLevel = 0;
        m_fixture.list.m_nIncludeSubfolders = subfolders ? 1 : 0;
        std::optional<CVerifyPrefetch> files;
        std::optional<CVerifyPrefetchObserver> observer;
        if (prefetch) {
            files.emplace(jobs);
            observer.emplace(m_fixture.list, *files);
            m_fixture.list.SetObserver(&*observer);
        }
        ListSelectDirectory(m_fixture.list, m_fixture.Root());
        m_fixture.list.SetObserver(nullptr);
        SVerifyOptions options;
        options.nJobs = jobs;
        options.prefetch = files ? &*files : nullptr;
        m_report = VerifySongList(m_fixture.list, options);
        QMap<QString, QStringList> codes;
        for (int row = 0; row < m_report.rows.size(); ++row) {
            for (const SVerifyReason &reason : m_report.rows.at(row).reasons)
                codes[m_fixture.list.Item(row).szFileName.Text().section(u';', 0, 0)].append(reason.strCode);
        }
        return codes;
    }
    QString TextOf(const QString &code) const
    {
        for (const SSongVerdict &row : m_report.rows)
            for (const SVerifyReason &reason : row.reasons)
                if (reason.strCode == code)
                    return reason.strText;
        return {};
    }
    EVerdict VerdictOfRow(const QString &firstName) const
    {
        for (int row = 0; row < m_report.rows.size(); ++row)
            if (m_fixture.list.Item(row).szFileName.Text().section(u';', 0, 0) == firstName)
                return m_report.rows.at(row).verdict;
        return EVerdict::Ok;
    }

    CCheckFixture m_fixture;
    SVerifyReport m_report;
};

} // namespace

TEST_F(CSongVerifyTest, GoodPairsAndAFolderOfPlainMp3sPass)
{
    AddPair(u"Amber - Lanterns"_s, 1);
    AddPair(u"Nina - Soleil"_s, 2);
    m_fixture.AddFolder(u"Plain"_s);
    Add(u"Plain/One.mp3"_s, Mp3Frames(300, 10));
    Add(u"Plain/Two.mp3"_s, Mp3Frames(300, 20) + Id3v1Tag());
    Add(u"notes.txt"_s, "not a song");
    EXPECT_TRUE(Verify(1, true).isEmpty()) << TextOf(u"no-graphics"_s).toStdString();
}

TEST_F(CSongVerifyTest, GraphicsWithoutAudioIsNoAudio)
{
    Add(u"Lonely.cdg"_s, CdgStream(30));
    AddPair(u"Paired"_s, 1);
    const auto codes = Verify();
    EXPECT_EQ(codes.value(u"Lonely.cdg"_s), QStringList{u"no-audio"_s});
    EXPECT_FALSE(codes.contains(u"Paired.cdg"_s));
    EXPECT_EQ(VerdictOfRow(u"Lonely.cdg"_s), EVerdict::Broken);
}

TEST_F(CSongVerifyTest, AudioWithoutGraphicsInAKaraokeFolderIsNoGraphics)
{
    AddPair(u"Paired"_s, 1);
    Add(u"Orphan.mp3"_s, Mp3Frames(300, 9));
    const auto codes = Verify();
    EXPECT_EQ(codes.value(u"Orphan.mp3"_s), QStringList{u"no-graphics"_s});
    EXPECT_EQ(VerdictOfRow(u"Orphan.mp3"_s), EVerdict::Warning);
    EXPECT_EQ(TextOf(u"no-graphics"_s), u"the song has audio (Orphan.mp3) but no graphics, while 1 other song in this folder has theirs"_s);
}

TEST_F(CSongVerifyTest, OneSecondGraphicsBesideLongAudioIsABrokenLengthMismatch)
{
    Add(u"Short.cdg"_s, CdgStream(1));
    Add(u"Short.mp3"_s, SongAudio());
    const auto codes = Verify();
    EXPECT_EQ(codes.value(u"Short.cdg"_s), QStringList{u"length-mismatch"_s});
    EXPECT_EQ(VerdictOfRow(u"Short.cdg"_s), EVerdict::Broken);
    EXPECT_EQ(TextOf(u"length-mismatch"_s).toStdString(),
              "the graphics (Short.cdg) run 0:01 and the audio (Short.mp3) 1:44: the graphics end 1:43 before the audio");
}

TEST_F(CSongVerifyTest, LengthsApartByMoreThanFiveSecondsWarnAndFourSecondsPass)
{
    Add(u"Eight.cdg"_s, CdgStream(96));
    Add(u"Eight.mp3"_s, SongAudio(1));
    Add(u"Four.cdg"_s, CdgStream(100).replace(24 * 900, 2, "\x09\x01"));
    Add(u"Four.mp3"_s, SongAudio(2) + Id3v1Tag());
    Add(u"Longer.cdg"_s, CdgStream(150));
    Add(u"Longer.mp3"_s, SongAudio(3));
    const auto codes = Verify();
    EXPECT_EQ(codes.value(u"Eight.cdg"_s).join(u" "_s).toStdString(), "length-mismatch");
    EXPECT_EQ(VerdictOfRow(u"Eight.cdg"_s), EVerdict::Warning);
    EXPECT_FALSE(codes.value(u"Four.cdg"_s).contains(u"length-mismatch"_s));
    // Graphics that run on after the audio leave no singer without lyrics: a warning.
    EXPECT_EQ(VerdictOfRow(u"Longer.cdg"_s), EVerdict::Warning);
}

TEST_F(CSongVerifyTest, TheSameAudioUnderOtherTagsAndTheSameGraphicsAreDuplicates)
{
    AddPair(u"First"_s, 1);
    m_fixture.AddFolder(u"Copies"_s);
    Add(u"Copies/Second.cdg"_s, QFile(m_fixture.Path(u"First.cdg"_s)).open(QIODevice::ReadOnly) ? ReadBytes(m_fixture.Path(u"First.cdg"_s)) : QByteArray());
    Add(u"Copies/Second.mp3"_s, Id3v2Tag(9000) + Mp3Frames(3981, 4000) + Id3v1Tag());
    AddPair(u"Other"_s, 2);
    const auto codes = Verify(1, true);
    EXPECT_EQ(codes.value(u"First.cdg"_s), (QStringList{u"duplicate"_s, u"duplicate"_s}));
    EXPECT_EQ(codes.value(u"Second.cdg"_s), (QStringList{u"duplicate"_s, u"duplicate"_s}));
    EXPECT_FALSE(codes.contains(u"Other.cdg"_s));
    EXPECT_EQ(VerdictOfRow(u"Second.cdg"_s), EVerdict::Warning);
    EXPECT_TRUE(TextOf(u"duplicate"_s).startsWith(u"the same graphics data as Copies/Second.cdg"_s)) << TextOf(u"duplicate"_s).toStdString();
}

TEST_F(CSongVerifyTest, SidecarFilesAreNotSongs)
{
    AddPair(u"Song"_s, 1);
    Add(u"._Song.mp3"_s, QByteArray("\x00\x05\x16\x07", 4) + Garbage(400));
    Add(u"._Song.cdg"_s, QByteArray("\x00\x05\x16\x07", 4) + Garbage(400));
    Add(u".DS_Store"_s, Garbage(100));
    Add(u"Thumbs.db"_s, Garbage(100));
    Add(u"desktop.ini"_s, "[.ShellClassInfo]");
    Add(u"_Song notes.txt"_s, "a near miss: a file of the user's");
    const auto codes = Verify();
    EXPECT_EQ(codes.value(u"._Song.cdg"_s), (QStringList{u"sidecar"_s, u"sidecar"_s}));
    EXPECT_EQ(codes.value(u".DS_Store"_s), QStringList{u"sidecar"_s});
    EXPECT_EQ(codes.value(u"Thumbs.db"_s), QStringList{u"sidecar"_s});
    EXPECT_EQ(codes.value(u"desktop.ini"_s), QStringList{u"sidecar"_s});
    EXPECT_FALSE(codes.contains(u"_Song notes.txt"_s));
    EXPECT_FALSE(codes.contains(u"Song.cdg"_s));
}

TEST_F(CSongVerifyTest, EmptyFilesAreBroken)
{
    Add(u"Empty.cdg"_s, {});
    Add(u"Empty.mp3"_s, Mp3Frames(1));
    Add(u"empty.txt"_s, {});
    const auto codes = Verify();
    EXPECT_TRUE(codes.value(u"Empty.cdg"_s).contains(u"empty-file"_s));
    EXPECT_FALSE(codes.contains(u"empty.txt"_s)); // not a song
}

TEST_F(CSongVerifyTest, NamesAStickOrAWindowsHostCannotTakeAreNotPortable)
{
    Add(u"AC:DC - Thunder.mp3"_s, Mp3Frames(50, 1));
    Add(u"Trailing dot..mp3"_s, Mp3Frames(50, 2));
    Add(u"CON.mp3"_s, Mp3Frames(50, 3));
    Add(u"Ünïcödé & Spaces - Fine.mp3"_s, Mp3Frames(50, 4));
    m_fixture.AddFolder(u"Deep"_s);
    Add(u"Deep/"_s + QString(240, u'x') + u".mp3"_s, Mp3Frames(50, 5));
    const auto codes = Verify(1, true);
    EXPECT_EQ(codes.value(u"AC:DC - Thunder.mp3"_s), QStringList{u"name-not-portable"_s});
    EXPECT_EQ(codes.value(u"CON.mp3"_s), QStringList{u"name-not-portable"_s});
    EXPECT_EQ(codes.value(QString(240, u'x') + u".mp3"_s), QStringList{u"name-not-portable"_s});
    EXPECT_FALSE(codes.contains(u"Ünïcödé & Spaces - Fine.mp3"_s));
    EXPECT_TRUE(TextOf(u"name-not-portable"_s).contains(u"holds ':'"_s)) << TextOf(u"name-not-portable"_s).toStdString();
}

TEST_F(CSongVerifyTest, KaraokeMidiWithoutLyricsIsLyricsMissing)
{
    const QByteArray header = MidiHeader(1, 2, 480);
    const QByteArray conductor = CTrack().Name("Song").Tempo(0, 500000).End();
    Add(u"Silent.kar"_s, header + conductor + CTrack().Name("Words").Text("@KMIDI KARAOKE FILE").Note(0, 480).End());
    Add(u"Sung.kar"_s, header + conductor + CTrack().Name("Words").Text("@TSung").Text("\\Hel").Text("lo").Note(0, 480).End());
    const auto codes = Verify();
    EXPECT_EQ(codes.value(u"Silent.kar"_s), QStringList{u"lyrics-missing"_s});
    EXPECT_FALSE(codes.contains(u"Sung.kar"_s));
}

TEST_F(CSongVerifyTest, DamagedGraphicsAndAudioAreBrokenWithTheirEvidence)
{
    Add(u"Garbled.cdg"_s, Garbage(7200 * 104));
    Add(u"Garbled.mp3"_s, SongAudio(1));
    QByteArray damaged = SongAudio(2);
    damaged.insert(2048 + 417 * 2000, Garbage(50 * 1024));
    Add(u"Damaged.cdg"_s, CdgStream(104).replace(24 * 900, 2, "\x09\x01"));
    Add(u"Damaged.mp3"_s, damaged);
    Add(u"Blank.cdg"_s, QByteArray(7200 * 104, '\0'));
    Add(u"Blank.mp3"_s, Id3v2Tag(1024) + Mp3Frames(3981, 77));
    const auto codes = Verify();
    EXPECT_EQ(codes.value(u"Garbled.cdg"_s).join(u" "_s).toStdString(), "graphics-damaged");
    EXPECT_EQ(codes.value(u"Damaged.cdg"_s), QStringList{u"audio-damaged"_s});
    EXPECT_EQ(codes.value(u"Blank.cdg"_s), QStringList{u"graphics-blank"_s});
}

TEST_F(CSongVerifyTest, ZipPackagesAreUnpackedWholeAndJudged)
{
    const QByteArray graphics = CdgStream(20);
    const QByteArray audio = Mp3Frames(766, 500);
    Add(u"Whole.zip"_s, BuildZip({{"Whole/", {}}, {"Whole/Whole.cdg", graphics, true}, {"Whole/Whole.mp3", audio, true}}));
    SZipTestMember bad{"Crc.mp3", Mp3Frames(766, 900), true};
    bad.crc = 0x12345678;
    Add(u"Crc.zip"_s, BuildZip({{"Crc.cdg", CdgStream(20).replace(24 * 90, 2, "\x09\x01"), false}, bad}));
    Add(u"Half.zip"_s, BuildZip({{"Half.cdg", CdgStream(21), true}}));
    Add(u"Nothing.zip"_s, Garbage(5000));
    const auto codes = Verify();
    EXPECT_FALSE(codes.contains(u"Whole.zip"_s)) << codes.value(u"Whole.zip"_s).join(u' ').toStdString();
    EXPECT_EQ(codes.value(u"Crc.zip"_s), QStringList{u"package-damaged"_s});
    EXPECT_EQ(codes.value(u"Half.zip"_s), (QStringList{u"package-incomplete"_s, u"no-audio"_s}));
    EXPECT_EQ(codes.value(u"Nothing.zip"_s), QStringList{u"package-damaged"_s});
    EXPECT_TRUE(TextOf(u"package-damaged"_s).startsWith(u"member Crc.mp3 (319932 bytes) does not unpack whole"_s))
        << TextOf(u"package-damaged"_s).toStdString();
}

TEST_F(CSongVerifyTest, VerdictsAreTheSameForAnyNumberOfJobsWithOrWithoutReadingDuringTheCheck)
{
    AddPair(u"One"_s, 1);
    Add(u"Two.cdg"_s, CdgStream(3));
    Add(u"Two.mp3"_s, Garbage(9000));
    Add(u"Three.mp3"_s, Mp3Frames(3981, 4000));
    Add(u"._Three.mp3"_s, Garbage(10));
    Verify(1);
    const SVerifyReport serial = m_report;
    EXPECT_EQ(serial.rows.size(), 4);
    for (const auto &[jobs, prefetch] : {std::pair{3, false}, std::pair{1, true}, std::pair{2, true}}) {
        Verify(jobs, false, prefetch);
        ASSERT_EQ(serial.rows.size(), m_report.rows.size());
        for (qsizetype row = 0; row < serial.rows.size(); ++row) {
            ASSERT_EQ(serial.rows.at(row).reasons.size(), m_report.rows.at(row).reasons.size());
            for (qsizetype i = 0; i < serial.rows.at(row).reasons.size(); ++i)
                EXPECT_EQ(serial.rows.at(row).reasons.at(i).strText, m_report.rows.at(row).reasons.at(i).strText);
        }
    }
}

TEST_F(CSongVerifyTest, NamesWithSemicolonsAreReadAsNames)
{
    AddPair(u"Rock; Roll"_s, 5);
    AddPair(u";"_s, 6);
    EXPECT_TRUE(Verify().isEmpty());
    ASSERT_EQ(m_report.rows.size(), 2);
    EXPECT_EQ(m_report.rows.at(0).verdict, EVerdict::Ok);
    EXPECT_EQ(m_report.rows.at(1).verdict, EVerdict::Ok);
}

TEST_F(CSongVerifyTest, AStoppedVerificationJudgesOnlyTheSongsReadWhole)
{
    for (int song = 1; song <= 4; ++song)
        AddPair(u"Song %1"_s.arg(song), song);
    for (const bool prefetch : {false, true}) {
        m_fixture.list.m_nTopLevel = 0;
        std::optional<CVerifyPrefetch> files;
        std::optional<CVerifyPrefetchObserver> observer;
        if (prefetch) {
            files.emplace(2);
            observer.emplace(m_fixture.list, *files);
            m_fixture.list.SetObserver(&*observer);
        }
        ListSelectDirectory(m_fixture.list, m_fixture.Root());
        m_fixture.list.SetObserver(nullptr);
        ASSERT_EQ(m_fixture.list.GetItemCount(), 4);
        SVerifyOptions options;
        options.nJobs = 2;
        options.prefetch = files ? &*files : nullptr;
        QList<int> heard;
        // Three of the eight files are read: the first song whole, the second by half.
        options.progress = [&heard](int done, int total) {
            heard.append(done);
            EXPECT_EQ(total, 8);
            return done < 3;
        };
        const SVerifyReport report = VerifySongList(m_fixture.list, options);
        EXPECT_FALSE(report.bComplete);
        EXPECT_EQ(heard, (QList<int>{0, 1, 2, 3})) << "prefetched files ask too";
        ASSERT_EQ(report.rows.size(), 1) << "prefetch " << prefetch;
        EXPECT_EQ(report.rows.at(0).verdict, EVerdict::Ok);
    }
}
