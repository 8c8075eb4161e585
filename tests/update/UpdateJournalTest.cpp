// The journal of an install and the undo of an install cut short.
#include "TestSupport.h"

#include "platform/NativeName.h"
#include "update/UpdateJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

SUpdateJournal TwoFiles()
{
    SUpdateJournal journal;
    // A name that is not UTF-8 on disk (the byte E9 kept as U+DCE9) must name the same file.
    const QString latin1 = DecodeNativeName("caf\xE9.dll");
    journal.entries = {{u"velmora"_s, u".velmora.aB3dE9.new"_s, u".velmora.aB3dE9.old"_s},
                       {u"doc/new manual\n100%.txt"_s, u"doc/.new manual\n100%.txt.Qx7Yz2.new"_s, {}},
                       {latin1, u"."_s + latin1 + u".Zz9Yy8.new"_s, u"."_s + latin1 + u".Zz9Yy8.old"_s}};
    journal.bComplete = true;
    return journal;
}

bool SameEntries(const SUpdateJournal &a, const SUpdateJournal &b)
{
    if (a.entries.size() != b.entries.size() || a.bComplete != b.bComplete || a.bDone != b.bDone)
        return false;
    for (qsizetype i = 0; i < a.entries.size(); ++i) {
        if (a.entries[i].strTarget != b.entries[i].strTarget || a.entries[i].strStage != b.entries[i].strStage
            || a.entries[i].strBackup != b.entries[i].strBackup)
            return false;
    }
    return true;
}

} // namespace

TEST(UpdateJournal, ReadsBackWhatWasWrittenAndWholeLinesOfACutOne)
{
    SUpdateJournal journal = TwoFiles();
    const std::optional<SUpdateJournal> read = ParseJournal(JournalText(journal));
    ASSERT_TRUE(read);
    EXPECT_TRUE(SameEntries(*read, journal));
    journal.bDone = true;
    EXPECT_TRUE(JournalText(journal).endsWith("end\ndone\n"));
    EXPECT_TRUE(SameEntries(*ParseJournal(JournalText(journal)), journal));
    EXPECT_TRUE(JournalText(journal).contains("file caf%E9.dll .caf%E9.dll.Zz9Yy8.new"));

    // Cut inside its second entry: the first stays, the journal is not complete.
    const QByteArray text = JournalText(TwoFiles());
    const std::optional<SUpdateJournal> cut = ParseJournal(text.first(text.indexOf("\nfile doc") + 12));
    ASSERT_TRUE(cut);
    EXPECT_FALSE(cut->bComplete);
    ASSERT_EQ(cut->entries.size(), 1);
    EXPECT_EQ(cut->entries[0].strBackup, u".velmora.aB3dE9.old"_s);
}

TEST(UpdateJournal, RefusesWhatNoInstallWrites)
{
    const QByteArray header = "velmora update journal 1\n";
    for (const QByteArray &text :
         {QByteArray(), QByteArray("velmora update journal 2\nend\n"), header + "file /etc/passwd a.new \nend\n",
          header + "file a ..%2Fa.new \nend\n", header + "file a%2F..%2F..%2Fb a.new \nend\n",
          header + "file a a.new a.old\nfile b a.new \nend\n", header + "file a a \nend\n",
          header + "file a a.new\nend\n", header + "copy a a.new \nend\n", header + "end\nend\n",
          header + "end\ndone\nfile a a.new \n", header + "done\n", QByteArray("file a a.new \n")})
        EXPECT_FALSE(ParseJournal(text)) << text.constData();
    EXPECT_FALSE(ParseJournal(header + QByteArray(kMaxJournalBytes, 'x') + '\n'));
}

// Each state an install can be stopped in, undone as the program or the updater does at its
// start: every old file back as it was, nothing new left over.
TEST(UpdateJournal, AnInterruptedInstallIsUndone)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    const auto file = [&](const QString &name) { return folder + u'/' + name; };
    const auto link = [&](const QString &from, const QString &to) {
        ASSERT_EQ(::link(QFile::encodeName(file(from)).constData(), QFile::encodeName(file(to)).constData()), 0);
    };
    test::WriteBytes(file(u"velmora"_s), "old program");
    test::WriteBytes(file(u"lib.so"_s), "old lib");
    test::WriteBytes(file(u".velmora.1.new"_s), "new program");
    test::WriteBytes(file(u".lib.so.2.new"_s), "new lib");
    test::WriteBytes(file(u".extra.3.new"_s), "new extra");
    // The program is in, the library's backup is made but not yet its new file, and the
    // extra file (new in this package) is not in.
    link(u"velmora"_s, u".velmora.1.old"_s);
    ASSERT_EQ(::rename(QFile::encodeName(file(u".velmora.1.new"_s)).constData(),
                       QFile::encodeName(file(u"velmora"_s)).constData()), 0);
    link(u"lib.so"_s, u".lib.so.2.old"_s);
    SUpdateJournal journal;
    journal.entries = {{u"velmora"_s, u".velmora.1.new"_s, u".velmora.1.old"_s},
                       {u"lib.so"_s, u".lib.so.2.new"_s, u".lib.so.2.old"_s},
                       {u"extra"_s, u".extra.3.new"_s, {}}};
    journal.bComplete = true;
    test::WriteBytes(file(QString::fromUtf16(kUpdateJournalName)), JournalText(journal));

    QString error;
    EXPECT_TRUE(RecoverInterruptedUpdate(folder, &error)) << error.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), (QStringList{u"lib.so"_s, u"velmora"_s}));
    EXPECT_EQ(test::ReadBytes(file(u"velmora"_s)), "old program");
    EXPECT_EQ(test::ReadBytes(file(u"lib.so"_s)), "old lib");
    EXPECT_TRUE(RecoverInterruptedUpdate(folder)); // nothing left to do

    // All in and marked done: finished instead, the old files go.
    test::WriteBytes(file(u".velmora.1.old"_s), "old program");
    test::WriteBytes(file(u"velmora"_s), "new program");
    journal.bDone = true;
    journal.entries.resize(1);
    test::WriteBytes(file(QString::fromUtf16(kUpdateJournalName)), JournalText(journal));
    EXPECT_TRUE(RecoverInterruptedUpdate(folder));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), (QStringList{u"lib.so"_s, u"velmora"_s}));
    EXPECT_EQ(test::ReadBytes(file(u"velmora"_s)), "new program");
}

TEST(UpdateJournal, ARunningInstallIsLeftAlone)
{
    QTemporaryDir dir;
    const QString journalPath = dir.filePath(QString::fromUtf16(kUpdateJournalName));
    test::WriteBytes(dir.filePath(u"velmora"_s), "old program");
    {
        CUpdateJournalFile journal(dir.path());
        ASSERT_TRUE(journal.Begin());
        ASSERT_TRUE(journal.Add({u"velmora"_s, u".velmora.1.new"_s, u".velmora.1.old"_s}));
        test::WriteBytes(dir.filePath(u".velmora.1.new"_s), "new program");
        QString error;
        EXPECT_TRUE(RecoverInterruptedUpdate(dir.path(), &error)); // nothing sealed yet: nothing to undo
        EXPECT_TRUE(QFile::exists(dir.filePath(u".velmora.1.new"_s)));
        ASSERT_TRUE(journal.Seal());
        EXPECT_EQ(test::ReadBytes(journalPath), JournalText(journal.Journal()));
        EXPECT_FALSE(RecoverInterruptedUpdate(dir.path(), &error));
        EXPECT_EQ(error, u"an update is being installed"_s);
        EXPECT_TRUE(QFile::exists(dir.filePath(u".velmora.1.new"_s)));
        EXPECT_TRUE(journal.Finish());
        EXPECT_FALSE(QFile::exists(journalPath));
    }

    // An install that stopped while it copied: its stage files go with its pending journal.
    {
        CUpdateJournalFile journal(dir.path());
        ASSERT_TRUE(journal.Begin());
        ASSERT_TRUE(journal.Add({u"velmora"_s, u".velmora.2.new"_s, u".velmora.2.old"_s}));
        test::WriteBytes(dir.filePath(u".velmora.2.new"_s), "half a progr");
    }
    EXPECT_TRUE(RecoverInterruptedUpdate(dir.path()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{u".velmora.1.new"_s, u"velmora"_s}));

    // A journal that cannot be read is not guessed at.
    test::WriteBytes(journalPath, "garbage\n");
    QString error;
    EXPECT_FALSE(RecoverInterruptedUpdate(dir.path(), &error));
    EXPECT_TRUE(error.startsWith(u"unreadable update journal"_s));
    EXPECT_EQ(test::ReadBytes(dir.filePath(u"velmora"_s)), "old program");
}
