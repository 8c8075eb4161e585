#include "TestSupport.h"

#include "widgets/ProcessRunner.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

// A small shell script standing in for an outside tool.
class CToolScript : public ::testing::Test
{
protected:
    QString Script(const QByteArray &body)
    {
        const QString path = m_dir.filePath(u"tool%1.sh"_s.arg(++m_count));
        test::WriteBytes(path, "#!/bin/sh\n" + body + "\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QTemporaryDir m_dir;
    int m_count = 0;
};

} // namespace

TEST_F(CToolScript, LinesSplitAsTheToolWroteThem)
{
    ProgramRunner crlf(Script(R"(printf 'a\r\nb\r\n')"));
    EXPECT_TRUE(RunAndCollect(crlf, QString()));
    EXPECT_EQ(crlf.m_lines, QStringList({u"a\r"_s, u"b\r"_s}));

    ProgramRunner tail(Script(R"(printf 'a\nb')"));
    EXPECT_TRUE(RunAndCollect(tail, QString()));
    EXPECT_EQ(tail.m_lines, QStringList({u"a"_s}));
    EXPECT_EQ(tail.m_strOutput, u"a\nb"_s);

    ProgramRunner none(Script(R"(printf 'no line end')"));
    EXPECT_FALSE(RunAndCollect(none, QString()));
    EXPECT_TRUE(none.m_lines.isEmpty());
    EXPECT_EQ(none.m_strOutput, u"no line end"_s);
}

TEST_F(CToolScript, ErrorsShareThePipeAndArgumentsArrive)
{
    ProgramRunner runner(Script(R"(echo "out $1|$2"; echo "err" >&2; read x && echo "had input")"));
    EXPECT_TRUE(RunAndCollect(runner, u"\"two words\" next"_s));
    EXPECT_EQ(runner.m_lines, QStringList({u"out two words|next"_s, u"err"_s}));

    EXPECT_TRUE(RunAndCollect(runner, QStringList{u"it's \"quoted\""_s}));
    EXPECT_EQ(runner.m_lines.first(), u"out it's \"quoted\"|"_s);
}

TEST_F(CToolScript, MissingOrUnstartableToolsGiveFalse)
{
    ProgramRunner missing(m_dir.filePath(u"no-such-tool"_s));
    EXPECT_FALSE(RunAndCollect(missing, QString()));
    ProgramRunner folder(m_dir.path());
    EXPECT_FALSE(RunAndCollect(folder, QString()));
    const QString notExecutable = m_dir.filePath(u"plain.txt"_s);
    test::WriteBytes(notExecutable, "text");
    ProgramRunner plain(notExecutable);
    EXPECT_FALSE(RunAndCollect(plain, QString()));
}

TEST_F(CToolScript, StuckToolIsStoppedAtTheTimeLimit)
{
    SetRunTimeLimitSeconds(1);
    // The child keeps its output open forever, through a grandchild as well.
    ProgramRunner stuck(Script("echo started; sleep 300 & sleep 300"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(RunAndCollect(stuck, QString()));
    EXPECT_LT(clock.elapsed(), 10'000);
    SetRunTimeLimitSeconds(0);
}

TEST_F(CToolScript, FloodsAndBinaryOutputAreSafe)
{
    ProgramRunner flood(Script("head -c 5000000 /dev/zero | tr '\\0' 'x'; echo; echo end"));
    EXPECT_TRUE(RunAndCollect(flood, QString()));
    ASSERT_EQ(flood.m_lines.size(), 2);
    EXPECT_EQ(flood.m_lines[0].size(), 5'000'000);

    // Zero bytes end the block they are in; the rest still arrives. A byte that is not UTF-8
    // stays itself, as the escape that names it.
    ProgramRunner binary(Script(R"(printf 'ab\000cd\n'; sleep 0.2; printf 'ef\377\n')"));
    EXPECT_TRUE(RunAndCollect(binary, QString()));
    EXPECT_EQ(binary.m_lines, QStringList({u"abef"_s + QChar(0xDCFF)}));
}

TEST(ProgramRunner, ArgumentTextSplitting)
{
    EXPECT_EQ(SplitArgumentText(u"  -a \"b c\"  d\"e f\" \"\""_s),
              QStringList({u"-a"_s, u"b c"_s, u"de f"_s, QString()}));
    EXPECT_TRUE(SplitArgumentText(u"   "_s).isEmpty());
    // A line ends at the first line feed; only where none follows does a carriage return end it.
    EXPECT_EQ(SplitRunnerOutput(u"x\ry\nz\r"_s), QStringList({u"x\ry"_s, u"z"_s}));
}

// The tools write UTF-8 here; a character split between two reads of the pipe stays whole.
TEST_F(CToolScript, OutputIsReadAsUtf8)
{
    ProgramRunner runner(Script(R"(head -c 1023 /dev/zero | tr '\0' 'a'; printf '\303\251\nCaf\303\251 \355\225\234\n')"));
    EXPECT_TRUE(RunAndCollect(runner, QString()));
    ASSERT_EQ(runner.m_lines.size(), 2);
    EXPECT_EQ(runner.m_lines.at(0), QString(1023, u'a') + u"\u00e9"_s);
    EXPECT_EQ(runner.m_lines.at(1), u"Caf\u00e9 \ud55c"_s);
}
