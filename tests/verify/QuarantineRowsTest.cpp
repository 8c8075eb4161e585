#include "TestSupport.h"

#include "check/DirItemList.h"
#include "platform/FileSystem.h"
#include "platform/StopRequest.h"
#include "verify/Quarantine.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

class QuarantineRows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_list.m_strCurrentFolder = m_library.path();
        // b.txt, a row of its own, is no song: it goes with b.mp3.
        for (const QString &name : {u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s, u"b.txt"_s}) {
            const QString path = m_library.path() + u'/' + name;
            test::WriteBytes(path, "audio of " + name.toUtf8());
            _ITEMINFO item;
            item.dwFileAttributes = 0x80;
            item.SetPath(path);
            item.SetFileNames({name});
            m_list.m_items.Add(std::move(item));
        }
    }
    void TearDown() override { CStopRequest::Clear(); }

    QTemporaryDir m_library;
    QTemporaryDir m_target;
    CDirItemList m_list;
};

QStringList Names(const QList<SQuarantineMove> &moves)
{
    QStringList names;
    for (const SQuarantineMove &move : moves)
        names.append(QFileInfo(move.strFrom).fileName() + u'>' + QFileInfo(move.strTo).fileName());
    return names;
}

} // namespace

TEST_F(QuarantineRows, OnlyTheChosenRowsGoWithTheirCompanions)
{
    const QList<SQuarantineMove> plan = PlanQuarantineOfRows(m_list, {1, 7, -1}, m_library.path(), m_target.path());
    EXPECT_EQ(Names(plan), (QStringList{u"b.mp3>b.mp3"_s, u"b.txt>b.txt"_s}));
}

// The progress hears of each file before it moves; a stop raised meanwhile ends the
// quarantine before the next one, and the manifest keeps the rest as planned.
TEST_F(QuarantineRows, ProgressNamesEachFileAndAStopEndsBetweenTwo)
{
    const QList<SQuarantineMove> plan = PlanQuarantineOfRows(m_list, {0, 1, 2}, m_library.path(), m_target.path());
    ASSERT_EQ(plan.size(), 4);
    QStringList heard;
    const SQuarantineRun run = RunQuarantine(plan, m_library.path(), m_target.path(), LocalFileSystem(),
                                             [&heard](int done, int total, const QString &name) {
                                                 heard.append(u"%1/%2 %3"_s.arg(done).arg(total).arg(name));
                                                 if (done == 2)
                                                     CStopRequest::Raise();
                                             });
    EXPECT_EQ(heard, (QStringList{u"1/4 a.mp3"_s, u"2/4 b.mp3"_s}));
    ASSERT_EQ(run.moves.size(), 4);
    EXPECT_EQ(run.moves.at(1).state, SQuarantineMove::EState::Moved);
    EXPECT_EQ(run.moves.at(2).state, SQuarantineMove::EState::Planned);
    EXPECT_TRUE(QFileInfo::exists(m_target.path() + u"/b.mp3"_s));
    EXPECT_TRUE(QFileInfo::exists(m_library.path() + u"/b.txt"_s));
    EXPECT_FALSE(run.strManifest.isEmpty());
}
